// Reads a video file back through FFmpeg's demuxers and decoders, as a player would: what the
// video tests check the written files with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace video_test {

struct DecodedVideo {
  std::string container;  // FFmpeg's name: "mov,mp4,m4a,3gp,3g2,mj2", "matroska,webm"
  std::string codec;      // "h264", "ffv1"
  std::string profile;    // "High", ... (empty where the codec has none)
  std::string pixelFormat;
  std::string colourSpace;  // "bt709", "gbr", ...
  std::string colourRange;  // "tv", "pc"
  int width = 0;
  int height = 0;
  int frameRateNumerator = 0;  // the stream's r_frame_rate
  int frameRateDenominator = 0;
  // Each frame's time in 60ths of a second, and its planes packed (no row padding).
  std::vector<double> frameTimes;
  std::vector<std::vector<std::vector<std::uint8_t>>> frames;
  // Empty when the whole file was read without a complaint, else what went wrong.
  std::string problem;
};

DecodedVideo decodeVideo(const std::string& path);

// The top-level boxes of an MP4 file, in order ("ftyp", "moov", "mdat"...).
std::vector<std::string> mp4Boxes(const std::string& path);

}  // namespace video_test
