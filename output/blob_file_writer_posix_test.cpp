// The writer on POSIX: file modes, symbolic links, permissions and a full
// disk. Permission cases run as an unprivileged user in a child process, since
// root passes every permission check.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "output/blob_file_writer.h"
#include "testing/file_bytes.h"
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

// Writes kNew to `file` in a child; its exit status is 0 when the outcome is
// the expected one: written when `reason` is empty, otherwise not written for
// that reason. A different outcome is printed.
int writeInChild(bool unprivileged, const fs::path& file, FileAccess access,
                 const std::string& reason) {
  return runInChild(unprivileged, [&] {
    const WriteResult result = writeBlobFile(file.c_str(), kNew, access);
    if (result.written == reason.empty() && result.reason == reason) {
      return 0;
    }
    (void)std::fprintf(stderr, "written %d, reason '%s'\n", result.written ? 1 : 0,
                       result.reason.c_str());
    return 1;
  });
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

// Private files are 0600 whatever the umask; public ones get what the umask
// leaves of 0666, like any file a tool creates. A file that is replaced is
// created anew, whatever its former mode.
TEST_F(BlobFileWriterPosixTest, ModesOfCreatedFiles) {
  const struct {
    mode_t umask;
    mode_t existing;  // 0: no file before
  } cases[] = {{0000, 0}, {0022, 0}, {0077, 0}, {0022, 0644}, {0077, 0666}, {0000, 0600}};
  for (const FileAccess access : {FileAccess::Public, FileAccess::Private}) {
    for (const auto& c : cases) {
      fs::remove(file_);
      if (c.existing != 0) {
        writeBytes(file_, kOld);
        setMode(file_, c.existing);
      }
      const mode_t previous = umask(c.umask);
      const WriteResult result = writeBlobFile(file_.c_str(), kNew, access);
      umask(previous);
      const bool isPrivate = access == FileAccess::Private;
      const auto what = testing::Message() << (isPrivate ? "private" : "public") << ", umask 0"
                                           << std::oct << c.umask << ", existing 0" << c.existing;
      EXPECT_TRUE(result.written) << what << ": " << result.reason;
      EXPECT_EQ(modeOf(file_), isPrivate ? 0600u : 0666u & ~c.umask) << what;
      EXPECT_EQ(readBytes(file_), kNew) << what;
    }
  }
}

// A file in a directory the user may not change is written in place: a public
// one keeps its mode, a private one is made 0600 first, or not written when
// that cannot be done (the user does not own it).
TEST_F(BlobFileWriterPosixTest, ModesOfFilesWrittenInPlace) {
  const struct {
    const char* what;
    FileAccess access;
    mode_t before;
    bool ownedByUser;
    const char* reason;
    mode_t after;
  } cases[] = {
      {"public keeps its mode", FileAccess::Public, 0640, true, "", 0640},
      {"public, others may write", FileAccess::Public, 0666, true, "", 0666},
      {"private is tightened", FileAccess::Private, 0644, true, "", 0600},
      {"private of another owner", FileAccess::Private, 0666, false, "could not be made private",
       0666},
  };
  for (const auto& c : cases) {
    setMode(dir_.path(), 0755);
    fs::remove(file_);
    writeBytes(file_, kOld);
    if (c.ownedByUser) {
      giveToUnprivileged(file_);
    }
    setMode(file_, c.before);
    setMode(dir_.path(), 0555);  // the removal fails; "r+b" opens the file
    EXPECT_EQ(writeInChild(true, file_, c.access, c.reason), 0) << c.what;
    EXPECT_EQ(modeOf(file_), c.after) << c.what;
    EXPECT_EQ(readBytes(file_), *c.reason == '\0' ? kNew : kOld) << c.what;
  }
}

// The existence test follows a link, so that a link to a file is removed by
// name and a file of our own made in its place. Nothing is ever written
// through a link.
TEST_F(BlobFileWriterPosixTest, SymbolicLinksAtTheName) {
  TempDir outside;
  const fs::path target = outside / "victim";
  const struct {
    const char* what;
    void (*makeTarget)(const fs::path&);
    const char* reason;
  } cases[] = {
      {"link to an existing file", [](const fs::path& t) { writeBytes(t, kOld); }, ""},
      {"dangling link", [](const fs::path&) {}, "a symbolic link is in its place"},
      {"link to a directory", [](const fs::path& t) { fs::create_directory(t); },
       "a symbolic link is in its place"},
  };
  for (const auto& c : cases) {
    fs::remove_all(target);
    fs::remove(file_);
    c.makeTarget(target);
    const bool targetExisted = fs::exists(target);
    fs::create_symlink(target, file_);

    const WriteResult result = writeBlobFile(file_.c_str(), kNew, FileAccess::Private);

    EXPECT_EQ(result.written, *c.reason == '\0') << c.what;
    EXPECT_EQ(result.reason, c.reason) << c.what;
    EXPECT_EQ(fs::exists(target), targetExisted) << c.what << ": target created";
    if (fs::is_regular_file(target)) {
      EXPECT_EQ(readBytes(target), kOld) << c.what << ": target changed";
    }
    if (fs::is_directory(target)) {
      EXPECT_TRUE(fs::is_empty(target)) << c.what;
    }
    if (result.written) {
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file_))) << c.what;
      EXPECT_EQ(readBytes(file_), kNew) << c.what;
      EXPECT_EQ(modeOf(file_), 0600u) << c.what;
    } else {
      EXPECT_TRUE(fs::is_symlink(file_)) << c.what << ": the link stays";
    }
  }
}

TEST_F(BlobFileWriterPosixTest, FifoAtTheNameIsNeitherOpenedForLongNorReplaced) {
  ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
  const WriteResult result = writeBlobFile(file_.c_str(), kNew, FileAccess::Private);
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.reason, "not a regular file");
  EXPECT_TRUE(fs::is_fifo(file_));
}

TEST_F(BlobFileWriterPosixTest, UnwritableDirectory) {
  // Absent file: nothing can be created.
  setMode(dir_.path(), 0555);
  EXPECT_EQ(writeInChild(true, file_, FileAccess::Private, "Permission denied"), 0);
  EXPECT_FALSE(fs::exists(file_));

  // A file the user may read but not replace keeps its content.
  setMode(dir_.path(), 0755);
  writeBytes(file_, kOld);
  setMode(file_, 0644);
  setMode(dir_.path(), 0555);
  EXPECT_EQ(writeInChild(true, file_, FileAccess::Private, "Permission denied"), 0);
  EXPECT_EQ(readBytes(file_), kOld);
}

TEST_F(BlobFileWriterPosixTest, UnreadableFileIsNotRemoved) {
  writeBytes(file_, kOld);
  giveToUnprivileged(file_);
  giveToUnprivileged(dir_.path());
  setMode(file_, 0200);  // write-only: the existence test cannot open it
  EXPECT_EQ(writeInChild(true, file_, FileAccess::Private, "Permission denied"), 0);
  setMode(file_, 0600);
  EXPECT_EQ(readBytes(file_), kOld);
}

// A write that fails part-way (here at the file size limit, as on a full
// disk) leaves no short file behind, and says why.
TEST_F(BlobFileWriterPosixTest, FailedWriteLeavesNoPartialFile) {
  const auto limited = [&](const fs::path& file) {
    return runInChild(true, [&] {
      const rlimit limit{100, 100};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return 2;
      }
      const WriteResult result = writeBlobFile(file.c_str(), kNew, FileAccess::Private);
      return !result.written && result.reason == "File too large" ? 0 : 1;
    });
  };
  giveToUnprivileged(dir_.path());

  // Removable: the partial file is removed.
  EXPECT_EQ(limited(file_), 0);
  EXPECT_FALSE(fs::exists(file_));

  // Not removable: the file is left empty rather than holding part of the
  // new bytes.
  writeBytes(file_, std::vector<std::uint8_t>(50, 0x4F));
  giveToUnprivileged(file_);
  setMode(dir_.path(), 0555);
  EXPECT_EQ(limited(file_), 0);
  EXPECT_EQ(fs::file_size(file_), 0u);
}

}  // namespace
