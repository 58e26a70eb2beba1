// For the tests of the SDL screen on a real display: the screen closes video at exit, which
// unloads Mesa's driver, and LeakSanitizer could then no longer tell what the driver keeps from
// our own leaks. After the last test, every library loaded by then stays to the end.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

namespace {

class KeepLibrariesLoaded : public ::testing::Environment {
 public:
  void TearDown() override {
    dl_iterate_phdr(
        [](dl_phdr_info* library, std::size_t, void*) {
          if (library->dlpi_name != nullptr && library->dlpi_name[0] != '\0')
            dlopen(library->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
          return 0;
        },
        nullptr);
  }
};

// gtest owns the environment.
[[maybe_unused]] ::testing::Environment* const keepLibraries =
    ::testing::AddGlobalTestEnvironment(new KeepLibrariesLoaded);

}  // namespace
