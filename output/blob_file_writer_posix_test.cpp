// The writer on POSIX: file modes, symbolic links, permissions and a full
// disk. Permission cases run as an unprivileged user in a child process, since
// root passes every permission check.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output/blob_file_writer.h"
#include "testing/process.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::uint8_t> kOld = std::vector<std::uint8_t>(600, 0x4F);
const std::vector<std::uint8_t> kNew = std::vector<std::uint8_t>(411, 0x4E);

mode_t modeOf(const fs::path& file) {
  struct stat status {};
  EXPECT_EQ(lstat(file.c_str(), &status), 0) << file;
  return status.st_mode & 07777;
}

void setMode(const fs::path& file, mode_t mode) {
  ASSERT_EQ(chmod(file.c_str(), mode), 0);
}

void giveToUnprivileged(const fs::path& file) {
  if (isRoot()) {
    ASSERT_EQ(lchown(file.c_str(), kUnprivilegedId, kUnprivilegedId), 0) << file;
  }
}

// Exit status of a child that wrote kNew to `file`: 0 written, 1 not written.
int writeInChild(bool unprivileged, const fs::path& file) {
  return runInChild(unprivileged, [&] { return writeBlobFile(file.c_str(), kNew) ? 0 : 1; });
}

class BlobFileWriterPosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The directory must be enterable by the unprivileged user.
    setMode(dir_.path(), 0755);
  }
  TempDir dir_;
  fs::path file_ = dir_ / "RSAPrivateKey.dat";
};

TEST_F(BlobFileWriterPosixTest, FilesAreOwnerOnlyWhateverTheUmask) {
  const struct {
    mode_t umask;
    mode_t existing;  // 0: no file before
  } cases[] = {{0000, 0}, {0022, 0}, {0277, 0}, {0000, 0644}, {0022, 0666}};
  for (const auto& c : cases) {
    fs::remove(file_);
    if (c.existing != 0) {
      writeBytes(file_, kOld);
      setMode(file_, c.existing);
    }
    const mode_t previous = umask(c.umask);
    EXPECT_TRUE(writeBlobFile(file_.c_str(), kNew));
    umask(previous);
    EXPECT_EQ(modeOf(file_), 0600u) << "umask " << c.umask << ", existing " << c.existing;
    EXPECT_EQ(readBytes(file_), kNew);
  }
}

TEST_F(BlobFileWriterPosixTest, SymbolicLinkAtTheNameIsNeverFollowed) {
  TempDir outside;
  const struct {
    const char* what;
    bool targetExists;
  } cases[] = {{"link to an existing file", true}, {"dangling link", false}};
  for (const auto& c : cases) {
    const fs::path target = outside / "victim";
    fs::remove(target);
    fs::remove(file_);
    if (c.targetExists) {
      writeBytes(target, kOld);
    }
    fs::create_symlink(target, file_);

    EXPECT_FALSE(writeBlobFile(file_.c_str(), kNew)) << c.what;

    EXPECT_TRUE(fs::is_symlink(file_)) << c.what;
    EXPECT_EQ(fs::exists(target), c.targetExists) << c.what;
    if (c.targetExists) {
      EXPECT_EQ(readBytes(target), kOld) << c.what;
    }
  }
}

TEST_F(BlobFileWriterPosixTest, FifoAtTheNameIsNeitherOpenedForLongNorReplaced) {
  ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
  EXPECT_FALSE(writeBlobFile(file_.c_str(), kNew));
  EXPECT_TRUE(fs::is_fifo(file_));
}

TEST_F(BlobFileWriterPosixTest, UnwritableDirectory) {
  // Absent file: nothing can be created.
  setMode(dir_.path(), 0555);
  EXPECT_EQ(writeInChild(true, file_), 1);
  EXPECT_FALSE(fs::exists(file_));

  // A file the user may read but not replace keeps its content.
  setMode(dir_.path(), 0755);
  writeBytes(file_, kOld);
  setMode(file_, 0644);
  setMode(dir_.path(), 0555);
  EXPECT_EQ(writeInChild(true, file_), 1);
  EXPECT_EQ(readBytes(file_), kOld);
}

TEST_F(BlobFileWriterPosixTest, UnreadableFileIsNotRemoved) {
  writeBytes(file_, kOld);
  giveToUnprivileged(file_);
  giveToUnprivileged(dir_.path());
  setMode(file_, 0200);  // write-only: the existence test cannot open it
  EXPECT_EQ(writeInChild(true, file_), 1);
  setMode(file_, 0600);
  EXPECT_EQ(readBytes(file_), kOld);
}

TEST_F(BlobFileWriterPosixTest, WritableFileThatCannotBeRemovedIsCutToTheNewBytes) {
  writeBytes(file_, kOld);  // longer than kNew
  giveToUnprivileged(file_);
  setMode(file_, 0644);
  setMode(dir_.path(), 0555);  // the removal fails; "r+b" opens the file
  EXPECT_EQ(writeInChild(true, file_), 0);
  EXPECT_EQ(readBytes(file_), kNew);
  EXPECT_EQ(modeOf(file_), 0600u);
}

// A write that fails part-way (here at the file size limit, as on a full
// disk) leaves no short file behind.
TEST_F(BlobFileWriterPosixTest, FailedWriteLeavesNoPartialFile) {
  const auto limited = [&](const fs::path& file) {
    return runInChild(true, [&] {
      const rlimit limit{100, 100};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return 2;
      }
      return writeBlobFile(file.c_str(), kNew) ? 0 : 1;
    });
  };
  giveToUnprivileged(dir_.path());

  // Removable: the partial file is removed.
  EXPECT_EQ(limited(file_), 1);
  EXPECT_FALSE(fs::exists(file_));

  // Not removable: the file is left empty rather than holding part of the
  // new bytes over the old ones.
  writeBytes(file_, std::vector<std::uint8_t>(50, 0x4F));
  giveToUnprivileged(file_);
  setMode(dir_.path(), 0555);
  EXPECT_EQ(limited(file_), 1);
  EXPECT_EQ(fs::file_size(file_), 0u);
}

}  // namespace
