// openRegularFile: a regular file opens; everything else is refused at once, never waited on.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>

#include "platform/files/regular_file.h"
#include "tests/support/bmp_files.h"

TEST(RegularFile, OnlyARegularFileOpensAndNothingBlocks) {
  support::TemporaryFolder folder;
  const std::string file = folder.write("texture.bmp", {'B', 'M', 1, 2});
  const std::string pipe = folder.path("pipe.bmp").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string socketPath = folder.path("socket.bmp").string();
  const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string link = folder.path("link.bmp").string();
  ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0);

  const struct {
    const char* name;
    std::string path;
    bool opens;
  } cases[] = {
      {"regular file", file, true},
      {"link to a regular file", link, true},
      {"missing", folder.path("missing.bmp").string(), false},
      {"folder", folder.path("").string(), false},
      {"named pipe without a writer", pipe, false},
      {"socket", socketPath, false},
      {"character device", "/dev/null", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A blocked open cannot be taken back: end the test by name rather than hang.
    auto opened = std::async(std::launch::async, [&c] { return openRegularFile(c.path.c_str()); });
    if (opened.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << c.name << ": the open blocked";
      std::_Exit(1);
    }
    std::FILE* result = opened.get();
    EXPECT_EQ(result != nullptr, c.opens);
    if (result != nullptr) {
      EXPECT_EQ(std::fgetc(result), 'B');  // readable, and blocking reads work as usual
      std::fclose(result);
    }
  }
  EXPECT_EQ(openRegularFile(nullptr), nullptr);
  close(socketFd);
}
