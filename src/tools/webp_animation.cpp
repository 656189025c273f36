// FILE.webp: each frame's changed rectangle encoded losslessly and placed on the canvas without
// blending, through libwebp's muxer (its own animation encoder would merge unchanged frames).
#include <cstdio>
#include <memory>

#include "settings/file_system.h"
#include "tools/animation_file.h"

#ifdef QSRN_NO_WEBP
namespace qsrn {
std::unique_ptr<AnimationFile> CreateWebpAnimation(const std::string&) { return nullptr; }
}  // namespace qsrn
#else
#include <webp/encode.h>
#include <webp/mux.h>

namespace qsrn {

namespace {

class WebpAnimation : public AnimationFile {
 public:
  explicit WebpAnimation(const std::string& path) : AnimationFile(path), mux_(WebPMuxNew()) {}
  ~WebpAnimation() override { WebPMuxDelete(mux_); }

  bool AddFrame(const Surface& surface, const FrameRect& rect, int32_t durationMs) override {
    if (mux_ == nullptr) return false;
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) return false;
    config.lossless = 1;
    config.method = 0;  // fast; the black background compresses well anyway
    config.quality = 25;
    picture.use_argb = 1;
    picture.width = rect.width;
    picture.height = rect.height;
    // The surface's 0x00BBGGRR pixels are the bytes R, G, B, unused in memory.
    const uint32_t* first = surface.Pixels() + static_cast<size_t>(rect.y) * surface.Width() + rect.x;
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    const bool encoded =
        WebPPictureImportRGBX(&picture, reinterpret_cast<const uint8_t*>(first), surface.Width() * 4) &&
        WebPEncode(&config, &picture);
    WebPPictureFree(&picture);
    bool pushed = false;
    if (encoded) {
      WebPMuxFrameInfo frame{};
      frame.bitstream.bytes = writer.mem;
      frame.bitstream.size = writer.size;
      frame.x_offset = rect.x;
      frame.y_offset = rect.y;
      frame.duration = durationMs;
      frame.id = WEBP_CHUNK_ANMF;
      frame.dispose_method = WEBP_MUX_DISPOSE_NONE;
      frame.blend_method = WEBP_MUX_NO_BLEND;
      pushed = WebPMuxPushFrame(mux_, &frame, 1) == WEBP_MUX_OK;
    }
    WebPMemoryWriterClear(&writer);
    return pushed;
  }

  bool Finish() override {
    if (mux_ == nullptr || frames() == 0) return false;
    WebPMuxAnimParams params{};
    params.bgcolor = 0xFF000000u;  // opaque black
    params.loop_count = 0;         // forever
    WebPData assembled;
    WebPDataInit(&assembled);
    bool ok = WebPMuxSetAnimationParams(mux_, &params) == WEBP_MUX_OK &&
              WebPMuxSetCanvasSize(mux_, width_, height_) == WEBP_MUX_OK &&
              WebPMuxAssemble(mux_, &assembled) == WEBP_MUX_OK;
    if (ok) {
      std::FILE* f = files::OpenToWrite(files::PathFromUtf8(path_));
      ok = f != nullptr && std::fwrite(assembled.bytes, 1, assembled.size, f) == assembled.size;
      if (f != nullptr && std::fclose(f) != 0) ok = false;
    }
    WebPDataClear(&assembled);
    return ok;
  }

 private:
  WebPMux* mux_;
};

}  // namespace

std::unique_ptr<AnimationFile> CreateWebpAnimation(const std::string& path) {
  return std::make_unique<WebpAnimation>(path);
}

}  // namespace qsrn
#endif
