// keygen_bench --seeded default|zeroing SEED: one RSA 3072 key made by Nettle
//   from a seeded generator, with GMP's default or zeroing memory functions:
//   identical work for the same seed, to count under callgrind.
// keygen_bench [RSA_KEYS] [ECDSA_KEYS]: key generation by our provider layer,
// by Nettle called directly, and by OpenSSL's EVP API, interleaved in one
// process so that drift in the machine's speed hits all alike.
//
// Then the layer's overhead measured on identical work: Nettle made to
// generate the same key twice from one seed, once with GMP's default memory
// functions and once with the zeroing ones the layer installs, plus the
// layer's own calls around the generation timed on their own, and the
// pairwise test that every new pair passes, timed on its own.

#include <gmp.h>
#include <nettle/ecc-curve.h>
#include <nettle/ecc.h>
#include <nettle/ecdsa.h>
#include <nettle/rsa.h>
#include <nettle/version.h>
#include <nettle/yarrow.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <sys/random.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "crypto/nettle_keys.h"
#include "crypto/pairwise_check.h"
#include "crypto/provider.h"
#include "crypto/zeroing_allocator.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void kernelRandom(void*, std::size_t length, std::uint8_t* out) {
  while (length > 0) {
    const ssize_t got = getrandom(out, length, 0);
    if (got < 0) {
      std::abort();
    }
    out += got;
    length -= static_cast<std::size_t>(got);
  }
}

struct GmpFunctions {
  void* (*allocate)(std::size_t);
  void* (*reallocate)(void*, std::size_t, std::size_t);
  void (*release)(void*, std::size_t);
  void install() const { mp_set_memory_functions(allocate, reallocate, release); }
  static GmpFunctions current() {
    GmpFunctions f{};
    mp_get_memory_functions(&f.allocate, &f.reallocate, &f.release);
    return f;
  }
};

GmpFunctions defaultGmp;
GmpFunctions zeroingGmp;

// --- Contenders ---

using Bytes = std::vector<std::uint8_t>;

Bytes exportBlob(BCRYPT_KEY_HANDLE key, LPCWSTR type) {
  ULONG size = 0;
  BCryptExportKey(key, nullptr, type, nullptr, 0, &size, 0);
  Bytes blob(size);
  BCryptExportKey(key, nullptr, type, blob.data(), size, &size, 0);
  return blob;
}

// The run's sequence for one key pair: open, generate, finalize, both
// exports, close, destroy.
void ourLayer(LPCWSTR algorithm, ULONG bits, LPCWSTR publicType, LPCWSTR privateType) {
  BCRYPT_ALG_HANDLE provider = nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  if (BCryptOpenAlgorithmProvider(&provider, algorithm, u"", 0) != 0 ||
      BCryptGenerateKeyPair(provider, &key, bits, 0) != 0 || BCryptFinalizeKeyPair(key, 0) != 0) {
    std::abort();
  }
  exportBlob(key, publicType);
  exportBlob(key, privateType);
  BCryptCloseAlgorithmProvider(provider, 0);
  BCryptDestroyKey(key);
}

void ourRsa() {
  ourLayer(BCRYPT_RSA_ALGORITHM, 3072, BCRYPT_RSAPUBLIC_BLOB, BCRYPT_RSAPRIVATE_BLOB);
}
void ourEcdsa() {
  ourLayer(BCRYPT_ECDSA_P256_ALGORITHM, 256, BCRYPT_ECCPUBLIC_BLOB, BCRYPT_ECCPRIVATE_BLOB);
}

void nettleRsa(void* randomContext, nettle_random_func* random) {
  rsa_public_key pub;
  rsa_private_key priv;
  rsa_public_key_init(&pub);
  rsa_private_key_init(&priv);
  mpz_set_ui(pub.e, 65537);
  if (rsa_generate_keypair(&pub, &priv, randomContext, random, nullptr, nullptr, 3072, 0) == 0) {
    std::abort();
  }
  rsa_public_key_clear(&pub);
  rsa_private_key_clear(&priv);
}

// Raw Nettle stands on GMP's own memory functions.
void rawNettleRsa() {
  defaultGmp.install();
  nettleRsa(nullptr, kernelRandom);
  zeroingGmp.install();
}

void rawNettleEcdsa() {
  defaultGmp.install();
  ecc_point pub;
  ecc_scalar key;
  ecc_point_init(&pub, nettle_get_secp_256r1());
  ecc_scalar_init(&key, nettle_get_secp_256r1());
  ecdsa_generate_keypair(&pub, &key, nullptr, kernelRandom);
  ecc_point_clear(&pub);
  ecc_scalar_clear(&key);
  zeroingGmp.install();
}

void openSslKey(EVP_PKEY_CTX* context) {
  EVP_PKEY* key = nullptr;
  if (EVP_PKEY_generate(context, &key) != 1) {
    std::abort();
  }
  EVP_PKEY_free(key);
}

void openSslRsa() {
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr);
  if (context == nullptr || EVP_PKEY_keygen_init(context) != 1 ||
      EVP_PKEY_CTX_set_rsa_keygen_bits(context, 3072) != 1) {
    std::abort();
  }
  openSslKey(context);
  EVP_PKEY_CTX_free(context);
}

void openSslEcdsa() {
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr);
  if (context == nullptr || EVP_PKEY_keygen_init(context) != 1 ||
      EVP_PKEY_CTX_set_group_name(context, "P-256") != 1) {
    std::abort();
  }
  openSslKey(context);
  EVP_PKEY_CTX_free(context);
}

// --- Statistics ---

struct Summary {
  std::size_t count;
  double median;
  double mean;
  double p10;
  double p90;
};

double percentile(const std::vector<double>& sorted, double fraction) {
  const double position = fraction * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(position);
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double weight = position - static_cast<double>(below);
  return sorted[below] * (1 - weight) + sorted[above] * weight;
}

Summary summarize(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {
      samples.size(), percentile(samples, 0.5),
      std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size()),
      percentile(samples, 0.1), percentile(samples, 0.9)};
}

struct Contender {
  const char* name;
  void (*run)();
  std::vector<double> seconds;
};

// Runs every contender `rounds` times, in a fresh random order each round.
void interleave(std::vector<Contender>& contenders, int rounds, std::mt19937& shuffle) {
  std::vector<std::size_t> order(contenders.size());
  std::iota(order.begin(), order.end(), 0);
  for (int round = 0; round < rounds; ++round) {
    std::shuffle(order.begin(), order.end(), shuffle);
    for (const std::size_t i : order) {
      contenders[i].seconds.push_back(secondsOf(contenders[i].run));
    }
  }
}

void report(const char* title, const std::vector<Contender>& contenders, double unit,
            const char* unitName) {
  std::printf("\n%s (%s)\n", title, unitName);
  std::printf("%-18s %7s %10s %10s %10s %10s %12s %12s\n", "contender", "n", "median", "mean",
              "p10", "p90", "/ Nettle", "/ OpenSSL");
  std::vector<Summary> summaries(contenders.size());
  std::transform(contenders.begin(), contenders.end(), summaries.begin(),
                 [](const Contender& c) { return summarize(c.seconds); });
  for (std::size_t i = 0; i < contenders.size(); ++i) {
    const Summary& s = summaries[i];
    std::printf("%-18s %7zu %10.3f %10.3f %10.3f %10.3f %12.3f %12.3f\n", contenders[i].name,
                s.count, s.median * unit, s.mean * unit, s.p10 * unit, s.p90 * unit,
                s.median / summaries[1].median, s.median / summaries[2].median);
  }
}

// --- What the pairwise test costs ---

// Each pair is made by Nettle and then tested, both timed, one right after
// the other, so that drift in the machine's speed hits both alike. The test's
// share is its median against the median of the pair and its test together,
// which is what the layer spends.
struct PairwiseShare {
  Summary test;
  Summary whole;
};

template <typename Make, typename Test>
PairwiseShare pairwiseShare(int pairs, Make make, Test test) {
  std::vector<double> tests;
  std::vector<double> wholes;
  for (int i = 0; i < pairs; ++i) {
    double tested = 0;
    const double made = make([&](const auto& pair) {
      tested = secondsOf([&] {
        if (!test(pair)) {
          std::abort();
        }
      });
    });
    tests.push_back(tested);
    wholes.push_back(made + tested);
  }
  return {summarize(tests), summarize(wholes)};
}

void pairwiseCost(int rsaKeys, int ecdsaKeys) {
  const PairwiseShare rsa = pairwiseShare(
      rsaKeys,
      [](const auto& then) {
        RsaKeyPair pair;
        mpz_set_ui(pair.publicKey.e, 65537);
        const double made = secondsOf([&] {
          if (rsa_generate_keypair(&pair.publicKey, &pair.privateKey, nullptr, kernelRandom,
                                   nullptr, nullptr, 3072, 0) == 0) {
            std::abort();
          }
        });
        then(pair);
        return made;
      },
      [](const RsaKeyPair& pair) { return rsaPairIsConsistent(pair.publicKey, pair.privateKey); });
  const PairwiseShare ecdsa = pairwiseShare(
      ecdsaKeys,
      [](const auto& then) {
        EccKeyPair pair;
        const double made = secondsOf([&] {
          ecdsa_generate_keypair(&pair.publicKey, &pair.privateKey, nullptr, kernelRandom);
        });
        then(pair);
        return made;
      },
      [](const EccKeyPair& pair) {
        return ecdsaPairIsConsistent(pair.publicKey, pair.privateKey);
      });
  std::printf("\nPairwise test (sign and verify) against a pair made and tested\n");
  std::printf(
      "RSA 3072:    test median %8.3f ms (p90 %.3f), pair and test %9.3f ms: %.2f %% (n = %zu)\n",
      rsa.test.median * 1e3, rsa.test.p90 * 1e3, rsa.whole.median * 1e3,
      100 * rsa.test.median / rsa.whole.median, rsa.test.count);
  std::printf(
      "ECDSA P-256: test median %8.1f us (p90 %.1f), pair and test %9.1f us: %.1f %% (n = %zu)\n",
      ecdsa.test.median * 1e6, ecdsa.test.p90 * 1e6, ecdsa.whole.median * 1e6,
      100 * ecdsa.test.median / ecdsa.whole.median, ecdsa.test.count);
}

// --- Overhead on identical work ---

// A seeded generator: the same seed gives the same random bytes, and so the
// same primes and the same work in Nettle.
void seededRandom(void* context, std::size_t length, std::uint8_t* out) {
  yarrow256_random(static_cast<yarrow256_ctx*>(context), length, out);
}

double seededRsaSeconds(unsigned seed, const GmpFunctions& gmp) {
  yarrow256_ctx random;
  yarrow256_init(&random, 0, nullptr);
  std::uint8_t seedBytes[YARROW256_SEED_FILE_SIZE] = {};
  for (std::size_t i = 0; i < sizeof seedBytes; ++i) {
    seedBytes[i] = static_cast<std::uint8_t>(seed >> (8 * (i % 4)));
  }
  yarrow256_seed(&random, sizeof seedBytes, seedBytes);
  gmp.install();
  const double seconds = secondsOf([&] { nettleRsa(&random, seededRandom); });
  zeroingGmp.install();
  return seconds;
}

void overheadOnIdenticalWork(int keys, std::mt19937& shuffle) {
  std::vector<double> ratios;
  double zeroingTotal = 0;
  double defaultTotal = 0;
  for (int i = 0; i < keys; ++i) {
    const auto seed = static_cast<unsigned>(shuffle());
    // Alternate which goes first, so that caches and clock changes favour neither.
    double withDefault = 0;
    double withZeroing = 0;
    if (i % 2 == 0) {
      withDefault = seededRsaSeconds(seed, defaultGmp);
      withZeroing = seededRsaSeconds(seed, zeroingGmp);
    } else {
      withZeroing = seededRsaSeconds(seed, zeroingGmp);
      withDefault = seededRsaSeconds(seed, defaultGmp);
    }
    ratios.push_back(withZeroing / withDefault);
    zeroingTotal += withZeroing;
    defaultTotal += withDefault;
  }
  const Summary ratio = summarize(ratios);
  std::printf("\nRSA 3072, the same key made twice from one seed (n = %d pairs)\n", keys);
  std::printf(
      "zeroing / default GMP memory functions: median %.4f, p10 %.4f, p90 %.4f, "
      "total time %.4f\n",
      ratio.median, ratio.p10, ratio.p90, zeroingTotal / defaultTotal);

  // The layer's own calls around the generation: everything but finalize.
  std::vector<double> around;
  for (int i = 0; i < 200; ++i) {
    BCRYPT_ALG_HANDLE provider = nullptr;
    BCRYPT_KEY_HANDLE key = nullptr;
    BCryptOpenAlgorithmProvider(&provider, BCRYPT_RSA_ALGORITHM, u"", 0);
    BCryptGenerateKeyPair(provider, &key, 3072, 0);
    BCryptFinalizeKeyPair(key, 0);
    around.push_back(secondsOf([&] {
      exportBlob(key, BCRYPT_RSAPUBLIC_BLOB);
      exportBlob(key, BCRYPT_RSAPRIVATE_BLOB);
      BCryptCloseAlgorithmProvider(provider, 0);
      BCryptDestroyKey(key);
    }));
    around.back() += secondsOf([&] {
      BCryptOpenAlgorithmProvider(&provider, BCRYPT_RSA_ALGORITHM, u"", 0);
      BCryptGenerateKeyPair(provider, &key, 3072, 0);
    });
    BCryptCloseAlgorithmProvider(provider, 0);
    BCryptDestroyKey(key);
  }
  const Summary s = summarize(around);
  std::printf(
      "layer calls around RSA generation (open, generate, 2 exports, close, destroy): "
      "median %.1f us, p90 %.1f us (n = %zu)\n",
      s.median * 1e6, s.p90 * 1e6, s.count);
}

// A positive count from the command line, or `otherwise`.
int count(const char* text, int otherwise) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *end == '\0' && value > 0 && value < 10'000'000 ? static_cast<int>(value) : otherwise;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--seeded") {
    defaultGmp = GmpFunctions::current();
    useZeroingAllocator();
    zeroingGmp = GmpFunctions::current();
    const bool zeroing = std::string(argv[2]) == "zeroing";
    seededRsaSeconds(static_cast<unsigned>(count(argv[3], 1)), zeroing ? zeroingGmp : defaultGmp);
    return 0;
  }
  const int rsaKeys = argc > 1 ? count(argv[1], 200) : 200;
  const int ecdsaKeys = argc > 2 ? count(argv[2], 20000) : 20000;
  defaultGmp = GmpFunctions::current();
  useZeroingAllocator();
  zeroingGmp = GmpFunctions::current();
  std::mt19937 shuffle(std::random_device{}());

  std::vector<Contender> ecdsa = {
      {"tarnwick layer", ourEcdsa, {}},
      {"Nettle", rawNettleEcdsa, {}},
      {"OpenSSL EVP", openSslEcdsa, {}},
  };
  interleave(ecdsa, ecdsaKeys, shuffle);
  report("ECDSA P-256 key pair", ecdsa, 1e6, "microseconds");

  std::vector<Contender> rsa = {
      {"tarnwick layer", ourRsa, {}},
      {"Nettle", rawNettleRsa, {}},
      {"OpenSSL EVP", openSslRsa, {}},
  };
  interleave(rsa, rsaKeys, shuffle);
  report("RSA 3072 key pair", rsa, 1e3, "milliseconds");
  pairwiseCost(rsaKeys / 2 > 20 ? rsaKeys / 2 : 20, ecdsaKeys / 4 > 100 ? ecdsaKeys / 4 : 100);

  overheadOnIdenticalWork(rsaKeys / 4 > 20 ? rsaKeys / 4 : 20, shuffle);
  std::printf("\n%s, OpenSSL %s, Nettle %d.%d, GMP %s\n", "keygen_bench",
              OpenSSL_version(OPENSSL_VERSION), NETTLE_VERSION_MAJOR, NETTLE_VERSION_MINOR,
              gmp_version);
  return 0;
}
