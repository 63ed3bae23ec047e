// SPDX-License-Identifier: MIT
#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <vector>

#include "engine/attrmap/png_writer.h"

namespace zur {
namespace {

using Microsoft::WRL::ComPtr;

// The stream the encoder writes into: it hands every byte on to the sink.
// The encoder only appends, so a seek may only name the current position.
class SinkStream final : public IStream {
 public:
  explicit SinkStream(ByteSink sink) : sink_(std::move(sink)) {}
  virtual ~SinkStream() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_ISequentialStream || id == IID_IStream) {
      *object = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Write(const void* bytes, ULONG count, ULONG* written) override {
    if (written) *written = 0;
    if (!sink_(static_cast<const std::uint8_t*>(bytes), count)) return STG_E_WRITEFAULT;
    position_ += count;
    if (written) *written = count;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* now) override {
    const bool stays = move.QuadPart == 0 ||
                       (origin == STREAM_SEEK_SET && std::uint64_t(move.QuadPart) == position_);
    if (!stays) return STG_E_INVALIDFUNCTION;
    if (now) now->QuadPart = position_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* status, DWORD) override {
    *status = {};
    status->type = STGTY_STREAM;
    status->cbSize.QuadPart = position_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

 private:
  ByteSink sink_;
  ULONG references_ = 1;
  std::uint64_t position_ = 0;
};

}  // namespace

struct PngWriter::Encoder {
  bool com_started = false;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  std::vector<std::uint8_t> bgr;  // one row as the encoder takes it
  std::uint32_t rows_left = 0;
  bool failed = false;

  // COM is left as it was found: started here only when it was not yet.
  Encoder() {
    const HRESULT started = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    com_started = started == S_OK || started == S_FALSE;
  }
  ~Encoder() {
    frame.Reset();
    encoder.Reset();
    if (com_started) CoUninitialize();
  }

  bool start(ByteSink sink, std::uint32_t width, std::uint32_t height) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory)))) {
      return false;
    }
    ComPtr<IStream> stream;
    stream.Attach(new SinkStream(std::move(sink)));
    ComPtr<IPropertyBag2> options;
    // 24-bit BGR is the PNG encoder's own RGB format; a frame that would
    // take another one is refused.
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const bool ready =
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) &&
        SUCCEEDED(frame->Initialize(options.Get())) && SUCCEEDED(frame->SetSize(width, height)) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR;
    bgr.resize(std::size_t(width) * 3);
    rows_left = height;
    return ready;
  }
};

PngWriter::PngWriter() = default;
PngWriter::~PngWriter() = default;

bool PngWriter::open(ByteSink sink, std::uint32_t width, std::uint32_t height) {
  encoder_ = std::make_unique<Encoder>();
  if (!encoder_->start(std::move(sink), width, height)) encoder_.reset();
  return encoder_ != nullptr;
}

bool PngWriter::write_row(const std::uint8_t* rgb) {
  if (!encoder_ || encoder_->failed || encoder_->rows_left == 0) return false;
  Encoder& e = *encoder_;
  for (std::size_t i = 0; i < e.bgr.size(); i += 3) {
    e.bgr[i] = rgb[i + 2];
    e.bgr[i + 1] = rgb[i + 1];
    e.bgr[i + 2] = rgb[i];
  }
  const auto stride = static_cast<UINT>(e.bgr.size());
  e.failed = FAILED(e.frame->WritePixels(1, stride, stride, e.bgr.data()));
  if (!e.failed) --e.rows_left;
  return !e.failed;
}

bool PngWriter::finish() {
  if (!encoder_) return false;
  Encoder& e = *encoder_;
  const bool written = !e.failed && e.rows_left == 0 && SUCCEEDED(e.frame->Commit()) &&
                       SUCCEEDED(e.encoder->Commit());
  encoder_.reset();
  return written;
}

}  // namespace zur
