// SPDX-License-Identifier: MIT
#include <shlwapi.h>
#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include "tests/support/png_reader.h"

namespace zur::test {
namespace {

using Microsoft::WRL::ComPtr;

// Brings BGR pixels of a decoded frame into the red, green, blue order.
void swap_red_and_blue(std::vector<std::uint8_t>& pixels) {
  for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) std::swap(pixels[i], pixels[i + 2]);
}

std::optional<RgbPicture> decode(const std::vector<std::uint8_t>& bytes) {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IStream> stream;
  stream.Attach(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  RgbPicture picture;
  const bool read = stream &&
                    SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr,
                                               CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) &&
                    SUCCEEDED(factory->CreateDecoderFromStream(
                        stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
                    SUCCEEDED(decoder->GetFrame(0, &frame)) &&
                    SUCCEEDED(frame->GetSize(&picture.width, &picture.height)) &&
                    SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
                    SUCCEEDED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR,
                                                    WICBitmapDitherTypeNone, nullptr, 0,
                                                    WICBitmapPaletteTypeCustom));
  if (!read) return std::nullopt;
  const UINT stride = picture.width * 3;
  picture.rgb.resize(std::size_t(stride) * picture.height);
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(picture.rgb.size()),
                                   picture.rgb.data()))) {
    return std::nullopt;
  }
  swap_red_and_blue(picture.rgb);
  return picture;
}

}  // namespace

std::optional<RgbPicture> decode_png(const std::vector<std::uint8_t>& bytes) {
  const HRESULT started = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  std::optional<RgbPicture> picture = decode(bytes);
  if (started == S_OK || started == S_FALSE) CoUninitialize();
  return picture;
}

}  // namespace zur::test
