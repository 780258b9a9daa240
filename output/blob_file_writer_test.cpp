#include "output/blob_file_writer.h"

#include <gtest/gtest.h>

#include "output/file_stream.h"
#include "testing/failing_files.h"
#include "testing/file_bytes.h"
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
  WriteResult write(const std::vector<std::uint8_t>& bytes,
                    FileAccess access = FileAccess::Public) {
    return writeBlobFile(file_.string().c_str(), bytes, access);
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
  for (const FileAccess access : {FileAccess::Public, FileAccess::Private}) {
    for (const auto& c : cases) {
      std::filesystem::remove(file_);
      if (c.before != SIZE_MAX) {
        writeBytes(file_, std::vector<std::uint8_t>(c.before, 0xEE));
      }
      const auto bytes = sampleBytes(c.size);
      const WriteResult result = write(bytes, access);
      EXPECT_TRUE(result.written) << c.what << ": " << result.reason;
      EXPECT_EQ(result.reason, "") << c.what;
      EXPECT_EQ(readBytes(file_), bytes) << c.what;
      EXPECT_EQ(std::filesystem::file_size(file_), c.size) << c.what;
    }
  }
}

TEST_F(BlobFileWriterTest, BytesThatTextModeWouldTranslateArriveUnchanged) {
  const std::vector<std::uint8_t> bytes = {0, 10, 13, 26, 13, 10, 10, 0, 26, 255, 13};
  EXPECT_TRUE(write(bytes).written);
  EXPECT_EQ(readBytes(file_), bytes);
}

TEST_F(BlobFileWriterTest, SecondCallReplacesTheFirst) {
  EXPECT_TRUE(write(sampleBytes(795)).written);
  const std::vector<std::uint8_t> second = {1, 2, 3};
  EXPECT_TRUE(write(second).written);
  EXPECT_EQ(readBytes(file_), second);
}

TEST_F(BlobFileWriterTest, MissingDirectoryIsReportedAndNothingIsCreated) {
  const auto nested = dir_ / "missing" / "RSAPublicKey.dat";
  const WriteResult result =
      writeBlobFile(nested.string().c_str(), sampleBytes(10), FileAccess::Public);
  EXPECT_FALSE(result.written);
  EXPECT_NE(result.reason, "");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

TEST_F(BlobFileWriterTest, DirectoryAtTheNameIsLeftAlone) {
  std::filesystem::create_directory(file_);  // empty: a plain remove() would delete it
  const WriteResult result = write(sampleBytes(10));
  EXPECT_FALSE(result.written);
  EXPECT_NE(result.reason, "");
  EXPECT_TRUE(std::filesystem::is_directory(file_));
}

TEST(FileErrorText, RefusalsOfOurOwnHaveTheirOwnWords) {
  const struct {
    FileError::Kind kind;
    const char* text;
  } cases[] = {
      {FileError::Kind::SymbolicLink, "a symbolic link is in its place"},
      {FileError::Kind::NotRegularFile, "not a regular file"},
      {FileError::Kind::NotPrivate, "could not be made private"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fileErrorText({c.kind, 5}), c.text);
  }
  EXPECT_EQ(fileErrorText({FileError::Kind::System, 5}), systemErrorText(5));
  EXPECT_NE(systemErrorText(5), "");
}

// A file that cannot be removed is written in place ("r+b"): emptied before
// the first byte, so that it never holds new bytes over old ones.
TEST(BlobFileWriterInPlace, EmptiedFirstAndNeverLeftWithNewBytesOverOld) {
  const std::vector<std::uint8_t> former(600, 0x4F);
  const std::vector<std::uint8_t> blob = sampleBytes(411);
  const struct {
    const char* what;
    bool cutFails;
    bool makePrivateFails;
    bool writesFail;
    FileAccess access;
    bool written;
    std::vector<std::uint8_t> after;
    std::string reason;
  } cases[] = {
      {"written in place", false, false, false, FileAccess::Public, true, blob, ""},
      {"private, in place", false, false, false, FileAccess::Private, true, blob, ""},
      {"the cut fails", true, false, false, FileAccess::Public, false, former,
       systemErrorText(FailingFiles::kSimulatedError)},
      {"cannot be made private", false, true, false, FileAccess::Private, false, former,
       "could not be made private"},
      {"the write fails", false, false, true, FileAccess::Public, false, {}, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const auto file = dir / "RSAPrivateKey.dat";
    writeBytes(file, former);
    FailingFiles files;
    files.cutFails = c.cutFails;
    files.makePrivateFails = c.makePrivateFails;
    files.writesFail = c.writesFail;
    files.file = file;

    const WriteResult result = writeBlobFile(files, file.string().c_str(), blob, c.access);

    EXPECT_EQ(result.written, c.written) << c.what;
    if (!c.reason.empty()) {
      EXPECT_EQ(result.reason, c.reason) << c.what;
    }
    EXPECT_EQ(result.reason.empty(), c.written) << c.what << ": " << result.reason;
    EXPECT_EQ(readBytes(file), c.after) << c.what;
    EXPECT_EQ(files.calls.at(1), "open 1") << c.what << ": the update open comes first";
  }
}

}  // namespace
