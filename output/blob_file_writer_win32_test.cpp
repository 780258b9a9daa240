// The writer on Windows: a private key file's security descriptor, read back
// with the platform's own call.
//
// Wine keeps no descriptor of a file's own: it turns the access list into
// Unix permission bits and reads back a list made from them (the local system
// and the owner, and Everyone when others may read). There the test checks
// what survives that: Everyone has no entry.
#include <windows.h>
// clang-format off
#include <aclapi.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "output/blob_file_writer.h"
#include "testing/failing_files.h"
#include "testing/file_bytes.h"
#include "testing/temp_dir.h"

namespace {

struct LocalFree_ {
  void operator()(void* memory) const { LocalFree(memory); }
};

bool underWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

struct Descriptor {
  bool read = false;
  bool protectedList = false;  // SE_DACL_PROTECTED: nothing inherited from the folder
  std::vector<std::string> entries;
};

std::vector<std::uint8_t> currentUser() {
  HANDLE token = nullptr;
  EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<std::uint8_t> user(size);
  EXPECT_TRUE(GetTokenInformation(token, TokenUser, user.data(), size, &size));
  CloseHandle(token);
  return user;
}

// Each entry as "allow|deny|other [inherited] own|other MASK".
Descriptor readDescriptor(const std::filesystem::path& file) {
  Descriptor result;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoA(file.string().c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS) {
    return result;
  }
  const std::unique_ptr<void, LocalFree_> owned(descriptor);
  result.read = true;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  result.protectedList = (control & SE_DACL_PROTECTED) != 0;
  if (list == nullptr) {
    result.entries.emplace_back("no list: everyone");
    return result;
  }
  const std::vector<std::uint8_t> user = currentUser();
  PSID self = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
  for (DWORD i = 0; i < list->AceCount; ++i) {
    void* entry = nullptr;
    GetAce(list, i, &entry);
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    std::string text = header->AceType == ACCESS_ALLOWED_ACE_TYPE  ? "allow"
                       : header->AceType == ACCESS_DENIED_ACE_TYPE ? "deny"
                                                                   : "other";
    if ((header->AceFlags & INHERITED_ACE) != 0) {
      text += " inherited";
    }
    if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
      const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
      PSID sid = const_cast<DWORD*>(&allowed->SidStart);
      text += EqualSid(sid, self)                ? " own "
              : IsWellKnownSid(sid, WinWorldSid) ? " everyone "
                                                 : " other ";
      text += std::to_string(allowed->Mask);
    }
    result.entries.push_back(text);
  }
  return result;
}

const std::vector<std::uint8_t> kBlob(104, 0x42);
const std::string kOwnerOnly = "allow own " + std::to_string(FILE_ALL_ACCESS);

bool grantsEveryone(const Descriptor& descriptor) {
  return std::any_of(descriptor.entries.begin(), descriptor.entries.end(),
                     [](const std::string& entry) {
                       return entry.find("everyone") != std::string::npos ||
                              entry.find("no list") != std::string::npos;
                     });
}

void expectOwnerOnly(const Descriptor& descriptor) {
  ASSERT_TRUE(descriptor.read);
  EXPECT_FALSE(grantsEveryone(descriptor));
  if (!underWine()) {
    EXPECT_TRUE(descriptor.protectedList);
    EXPECT_EQ(descriptor.entries, std::vector<std::string>{kOwnerOnly});
  }
}

TEST(BlobFileWriterWin32, PrivateFileIsItsOwnersOnly) {
  TempDir dir;
  const auto file = dir / "ECDSAPrivateKey.dat";
  ASSERT_TRUE(writeBlobFile(file.string().c_str(), kBlob, FileAccess::Private).written);
  expectOwnerOnly(readDescriptor(file));
  EXPECT_EQ(readBytes(file), kBlob);
}

// Written in place (it could not be removed): made private all the same.
TEST(BlobFileWriterWin32, PrivateFileWrittenInPlaceIsMadePrivate) {
  TempDir dir;
  const auto file = dir / "ECDSAPrivateKey.dat";
  writeBytes(file, std::vector<std::uint8_t>(300, 0x4F));
  FailingFiles files;
  ASSERT_TRUE(writeBlobFile(files, file.string().c_str(), kBlob, FileAccess::Private).written);
  expectOwnerOnly(readDescriptor(file));
  EXPECT_EQ(readBytes(file), kBlob);
}

// A public file gets what the folder gives: no descriptor of its own. (The
// test folder lets everyone read, so the check above can fail.)
TEST(BlobFileWriterWin32, PublicFileGetsWhatTheFolderGives) {
  TempDir dir;
  const auto file = dir / "ECDSAPublicKey.dat";
  ASSERT_TRUE(writeBlobFile(file.string().c_str(), kBlob, FileAccess::Public).written);
  const Descriptor descriptor = readDescriptor(file);
  ASSERT_TRUE(descriptor.read);
  EXPECT_FALSE(descriptor.protectedList);
  if (underWine()) {
    EXPECT_TRUE(grantsEveryone(descriptor)) << "the folder is readable by everyone";
  } else {
    EXPECT_NE(descriptor.entries, std::vector<std::string>{kOwnerOnly});
  }
}

}  // namespace
