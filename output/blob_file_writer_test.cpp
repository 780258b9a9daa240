#include "output/blob_file_writer.h"

#include <gtest/gtest.h>

#include "testing/temp_dir.h"

namespace {

std::vector<std::uint8_t> sampleBytes(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
  }
  return bytes;
}

class BlobFileWriterTest : public ::testing::Test {
 protected:
  bool write(const std::vector<std::uint8_t>& bytes) {
    return writeBlobFile(file_.string().c_str(), bytes);
  }
  TempDir dir_;
  std::filesystem::path file_ = dir_ / "RSAPublicKey.dat";
};

TEST_F(BlobFileWriterTest, ReplacesWhateverWasThereWithExactlyTheBytes) {
  const struct {
    const char* what;
    std::size_t before;  // SIZE_MAX: no file
    std::size_t size;
  } cases[] = {
      {"absent file", SIZE_MAX, 411},    {"longer file", 4000, 72},
      {"shorter file", 3, 795},          {"same length", 104, 104},
      {"empty blob over a file", 50, 0}, {"empty blob, no file", SIZE_MAX, 0},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(file_);
    if (c.before != SIZE_MAX) {
      writeBytes(file_, std::vector<std::uint8_t>(c.before, 0xEE));
    }
    const auto bytes = sampleBytes(c.size);
    EXPECT_TRUE(write(bytes)) << c.what;
    EXPECT_EQ(readBytes(file_), bytes) << c.what;
    EXPECT_EQ(std::filesystem::file_size(file_), c.size) << c.what;
  }
}

TEST_F(BlobFileWriterTest, BytesThatTextModeWouldTranslateArriveUnchanged) {
  const std::vector<std::uint8_t> bytes = {0, 10, 13, 26, 13, 10, 10, 0, 26, 255, 13};
  EXPECT_TRUE(write(bytes));
  EXPECT_EQ(readBytes(file_), bytes);
}

TEST_F(BlobFileWriterTest, SecondCallReplacesTheFirst) {
  EXPECT_TRUE(write(sampleBytes(795)));
  const std::vector<std::uint8_t> second = {1, 2, 3};
  EXPECT_TRUE(write(second));
  EXPECT_EQ(readBytes(file_), second);
}

TEST_F(BlobFileWriterTest, MissingDirectoryIsReportedAndNothingIsCreated) {
  const auto nested = dir_ / "missing" / "RSAPublicKey.dat";
  EXPECT_FALSE(writeBlobFile(nested.string().c_str(), sampleBytes(10)));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

TEST_F(BlobFileWriterTest, DirectoryAtTheNameIsLeftAlone) {
  std::filesystem::create_directory(file_);  // empty: a plain remove() would delete it
  EXPECT_FALSE(write(sampleBytes(10)));
  EXPECT_TRUE(std::filesystem::is_directory(file_));
}

}  // namespace
