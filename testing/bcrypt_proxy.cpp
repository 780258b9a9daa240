// bcrypt.dll for the tests only: the six provider calls that tarnwick.exe
// imports, passed on to the system's own provider. Wine's provider refuses
// the empty implementation name that the program passes (a pointer to an
// empty string, which Windows takes as the default); the proxy passes a null
// pointer instead, so that the program's success path can run under Wine.
//
// TARNWICK_PROXY_HOLD_FINALIZE_MS: finalize waits that many milliseconds
// first, so that a test can act while the keys are being made.
//
// Loaded in place of the system's bcrypt.dll when it lies beside the program
// and WINEDLLOVERRIDES has bcrypt=n,b. It loads the system's own by its full
// path, and refuses to load when that gives back itself.

#include <windows.h>
// clang-format off
#include <bcrypt.h>
// clang-format on

#include <cstdlib>
#include <string>

namespace {

HMODULE systemProvider = nullptr;

template <typename Function>
Function systemCall(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(systemProvider, name)));
}

HMODULE thisModule() {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&thisModule), &self);
  return self;
}

bool loadSystemProvider() {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return false;
  }
  const std::wstring path = std::wstring(directory, length) + L"\\bcrypt.dll";
  systemProvider = LoadLibraryW(path.c_str());
  return systemProvider != nullptr && systemProvider != thisModule();
}

DWORD holdMilliseconds() {
  const char* value = std::getenv("TARNWICK_PROXY_HOLD_FINALIZE_MS");
  return value == nullptr ? 0 : static_cast<DWORD>(std::strtoul(value, nullptr, 10));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    return loadSystemProvider() ? TRUE : FALSE;
  }
  return TRUE;
}

NTSTATUS WINAPI BCryptOpenAlgorithmProvider(BCRYPT_ALG_HANDLE* algorithm, LPCWSTR id,
                                            LPCWSTR implementation, ULONG flags) {
  const auto call =
      systemCall<decltype(&BCryptOpenAlgorithmProvider)>("BCryptOpenAlgorithmProvider");
  const bool empty = implementation != nullptr && implementation[0] == L'\0';
  return call(algorithm, id, empty ? nullptr : implementation, flags);
}

NTSTATUS WINAPI BCryptGenerateKeyPair(BCRYPT_ALG_HANDLE algorithm, BCRYPT_KEY_HANDLE* key,
                                      ULONG length, ULONG flags) {
  return systemCall<decltype(&BCryptGenerateKeyPair)>("BCryptGenerateKeyPair")(algorithm, key,
                                                                               length, flags);
}

NTSTATUS WINAPI BCryptFinalizeKeyPair(BCRYPT_KEY_HANDLE key, ULONG flags) {
  Sleep(holdMilliseconds());
  return systemCall<decltype(&BCryptFinalizeKeyPair)>("BCryptFinalizeKeyPair")(key, flags);
}

NTSTATUS WINAPI BCryptExportKey(BCRYPT_KEY_HANDLE key, BCRYPT_KEY_HANDLE exportKey, LPCWSTR type,
                                PUCHAR output, ULONG outputSize, ULONG* result, ULONG flags) {
  return systemCall<decltype(&BCryptExportKey)>("BCryptExportKey")(key, exportKey, type, output,
                                                                   outputSize, result, flags);
}

NTSTATUS WINAPI BCryptCloseAlgorithmProvider(BCRYPT_ALG_HANDLE algorithm, ULONG flags) {
  return systemCall<decltype(&BCryptCloseAlgorithmProvider)>("BCryptCloseAlgorithmProvider")(
      algorithm, flags);
}

NTSTATUS WINAPI BCryptDestroyKey(BCRYPT_KEY_HANDLE key) {
  return systemCall<decltype(&BCryptDestroyKey)>("BCryptDestroyKey")(key);
}

}  // extern "C"
