#include "testing/temp_dir.h"

#include <random>
#include <stdexcept>

TempDir::TempDir() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate =
        std::filesystem::temp_directory_path() / ("tarnwick-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no temporary directory");
}

TempDir::~TempDir() {
  namespace fs = std::filesystem;
  // A test may have taken away the right to change a folder in it: give it
  // back to every folder, then remove the lot.
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (auto entry = fs::recursive_directory_iterator(path_, ignored);
       entry != fs::recursive_directory_iterator(); entry.increment(ignored)) {
    if (entry->is_directory(ignored) && !entry->is_symlink(ignored)) {
      fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  fs::remove_all(path_, ignored);
}
