#include "app/key_pair_jobs.h"

namespace {

constexpr auto kRsa = providerText("RSA");
constexpr auto kEcdsaP256 = providerText("ECDSA_P256");
constexpr auto kRsaPublicBlob = providerText("RSAPUBLICBLOB");
constexpr auto kRsaPrivateBlob = providerText("RSAPRIVATEBLOB");
constexpr auto kEccPublicBlob = providerText("ECCPUBLICBLOB");
constexpr auto kEccPrivateBlob = providerText("ECCPRIVATEBLOB");
constexpr auto kDefaultImplementation = providerText("");

constexpr KeyPairJob kJobs[] = {
    {
        .algorithm = kRsa.data(),
        .keyBits = 3072,
        .open = 10,
        .generate = 20,
        .finalize = 30,
        .exports = {{.blobType = kRsaPublicBlob.data(),
                     .sizeQuery = 40,
                     .exportCall = 50,
                     .fileName = "RSAPublicKey.dat",
                     .progressMessage = "RSA public key generated",
                     .access = FileAccess::Public},
                    {.blobType = kRsaPrivateBlob.data(),
                     .sizeQuery = 60,
                     .exportCall = 70,
                     .fileName = "RSAPrivateKey.dat",
                     .progressMessage = "RSA private key generated",
                     .access = FileAccess::Private}},
    },
    {
        .algorithm = kEcdsaP256.data(),
        .keyBits = 256,
        .open = 80,
        .generate = 90,
        .finalize = 100,
        .exports = {{.blobType = kEccPublicBlob.data(),
                     .sizeQuery = 110,
                     .exportCall = 120,
                     .fileName = "ECDSAPublicKey.dat",
                     .progressMessage = "ECDSA public key generated",
                     .access = FileAccess::Public},
                    {.blobType = kEccPrivateBlob.data(),
                     .sizeQuery = 130,
                     .exportCall = 140,
                     .fileName = "ECDSAPrivateKey.dat",
                     .progressMessage = "ECDSA private key generated",
                     .access = FileAccess::Private}},
    },
};

}  // namespace

std::span<const KeyPairJob> keyPairJobs() {
  return kJobs;
}

const ProviderChar* defaultImplementation() {
  return kDefaultImplementation.data();
}
