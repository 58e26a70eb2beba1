// look-shots FOLDER [FRAME]: a frame of the demo (default 120) in each look at 1920 x 1080 and
// 1280 x 960, written as PNG files into FOLDER for people to look at, with the notice shown on
// the last. Runs where the tests run (run_on_software_gl.sh look-shots FOLDER).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/screen_core/looks.h"
#include "platform/screen_core/notice_font.h"
#include "platform/gles/gles_presenter.h"
#include "tests/platform/gles/demo_frame.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: look-shots FOLDER [FRAME]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int frameNumber = argc == 3 ? std::atoi(argv[2]) : 120;
  gles_test::Picture frame;
  compat::Palette palette;
  std::string error;
  if (!gles_test::demoFrame(frameNumber, frame, palette, error)) {
    std::fprintf(stderr, "look-shots: %s\n", error.c_str());
    return 1;
  }
  gles_test::GlContext context;
  gles::GlesPresenter presenter;
  const int sizes[][2] = {{1920, 1080}, {1280, 960}};
  for (const auto& size : sizes) {
    if (!context.drawOn(size[0], size[1], error)) {
      std::fprintf(stderr, "look-shots: %s\n", error.c_str());
      return 1;
    }
    if (!presenter.started() && !presenter.start(context.functions())) return 1;
    presenter.setPicture(frame.pixels.data(), frame.width, frame.height, frame.pitch);
    presenter.setPalette(palette);
    for (const compat::Look look :
         {compat::Look::integer, compat::Look::sharp, compat::Look::crt}) {
      const bool last = look == compat::Look::crt;
      if (last) {
        const compat::NoticeImage notice = compat::renderNotice("Look: crt");
        presenter.setNotice(notice.alpha.data(), notice.width, notice.height);
      }
      presenter.draw(size[0], size[1], look);
      presenter.clearNotice();
      const std::string path = folder + "/" + std::string(compat::lookName(look)) + "-" +
                               std::to_string(size[0]) + "x" + std::to_string(size[1]) + ".png";
      if (!gles_test::writePng(path, context.readBack())) {
        std::fprintf(stderr, "look-shots: cannot write %s\n", path.c_str());
        return 1;
      }
      std::printf("%s\n", path.c_str());
    }
  }
  return 0;
}
