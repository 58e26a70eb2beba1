#include "tests/platform/media/video_decoding.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <fstream>

namespace video_test {
namespace {

// Copies each plane of the frame without its row padding.
std::vector<std::vector<std::uint8_t>> packedPlanes(const AVFrame& frame) {
  const AVPixFmtDescriptor* description =
      av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
  std::vector<std::vector<std::uint8_t>> planes;
  const int count = av_pix_fmt_count_planes(static_cast<AVPixelFormat>(frame.format));
  for (int plane = 0; plane < count; ++plane) {
    const bool chroma = plane == 1 || plane == 2;
    const int height =
        chroma ? AV_CEIL_RSHIFT(frame.height, description->log2_chroma_h) : frame.height;
    const int bytes =
        av_image_get_linesize(static_cast<AVPixelFormat>(frame.format), frame.width, plane);
    std::vector<std::uint8_t> packed;
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* row =
          frame.data[plane] + static_cast<std::ptrdiff_t>(y) * frame.linesize[plane];
      packed.insert(packed.end(), row, row + bytes);
    }
    planes.push_back(std::move(packed));
  }
  return planes;
}

}  // namespace

DecodedVideo decodeVideo(const std::string& path) {
  DecodedVideo video;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) {
    video.problem = "cannot open " + path;
    return video;
  }
  AVCodecContext* codec = nullptr;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  const AVCodec* decoder = nullptr;
  const int stream = avformat_find_stream_info(format, nullptr) < 0
                         ? -1
                         : av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (stream < 0 || decoder == nullptr) {
    video.problem = "no video stream in " + path;
  } else {
    const AVStream& s = *format->streams[stream];
    video.container = format->iformat->name;
    video.codec = avcodec_get_name(s.codecpar->codec_id);
    const char* profile = avcodec_profile_name(s.codecpar->codec_id, s.codecpar->profile);
    video.profile = profile != nullptr ? profile : "";
    video.frameRateNumerator = s.r_frame_rate.num;
    video.frameRateDenominator = s.r_frame_rate.den;
    codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec, s.codecpar);
    if (avcodec_open2(codec, decoder, nullptr) < 0) video.problem = "cannot start the decoder";
    auto receive = [&] {
      while (avcodec_receive_frame(codec, frame) >= 0) {
        video.width = frame->width;
        video.height = frame->height;
        video.pixelFormat = av_get_pix_fmt_name(static_cast<AVPixelFormat>(frame->format));
        video.colourSpace = av_color_space_name(frame->colorspace);
        video.colourRange = av_color_range_name(frame->color_range);
        video.frameTimes.push_back(static_cast<double>(frame->best_effort_timestamp) *
                                   av_q2d(s.time_base) * 60);
        video.frames.push_back(packedPlanes(*frame));
        av_frame_unref(frame);
      }
    };
    while (video.problem.empty() && av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == stream && avcodec_send_packet(codec, packet) < 0)
        video.problem = "a packet the decoder refused";
      av_packet_unref(packet);
      receive();
    }
    if (video.problem.empty()) {
      avcodec_send_packet(codec, nullptr);
      receive();
    }
  }
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&codec);
  avformat_close_input(&format);
  return video;
}

std::vector<std::string> mp4Boxes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> boxes;
  unsigned char header[16];
  while (in.read(reinterpret_cast<char*>(header), 8)) {
    std::uint64_t size =
        (std::uint64_t{header[0]} << 24) | (header[1] << 16) | (header[2] << 8) | header[3];
    std::uint64_t headerSize = 8;
    if (size == 1 && in.read(reinterpret_cast<char*>(header + 8), 8)) {
      size = 0;
      for (int i = 8; i < 16; ++i) size = (size << 8) | header[i];
      headerSize = 16;
    }
    boxes.emplace_back(reinterpret_cast<char*>(header + 4), 4);
    if (size < headerSize) break;  // 0: to the end of the file
    in.seekg(static_cast<std::streamoff>(size - headerSize), std::ios::cur);
  }
  return boxes;
}

}  // namespace video_test
