// A disk that fills up, for the tests that need one without mounting a file system: while a
// FileSizeLimit lives, no file of the process may grow past its size. The write that would
// fails with "File too large" (EFBIG; its signal ignored) after the file has taken what came
// before, as a full disk fails one with "No space left on device".
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

namespace video_test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, previous_.rlim_max};
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousSignal_)(int) = SIG_DFL;
};

}  // namespace video_test
