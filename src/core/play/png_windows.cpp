// Screenshots on Windows: encoded by the system's imaging component (WIC), which
// every Windows has, instead of libpng.
#include "core/play/png.h"

#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <cstdint>
#include <vector>

#include "core/fileio.h"

namespace qv::play {

namespace {

// Releases a COM interface at the end of its scope.
template <class T> struct Com {
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
    T* p = nullptr;
};

// The picture as PNG bytes in memory; empty when it could not be encoded.
std::vector<std::uint8_t> encode(const Frame& frame) {
    const auto width = static_cast<UINT>(frame.width);
    const auto height = static_cast<UINT>(frame.height);
    // 0xFFRRGGBB pixels are WIC's 32-bit BGR in memory; written as 24-bit RGB, as on POSIX.
    Com<IWICImagingFactory> factory;
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> page;
    Com<IWICBitmap> bitmap;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT stride = width * 4;
    auto* pixels = const_cast<BYTE*>(reinterpret_cast<const BYTE*>(frame.pixels.data()));
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.out()))) ||
        FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.out())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
        FAILED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(page.out(), nullptr)) || FAILED(page->Initialize(nullptr)) ||
        FAILED(page->SetSize(width, height)) || FAILED(page->SetPixelFormat(&format)) ||
        FAILED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGR, stride,
                                               stride * height, pixels, bitmap.out())) ||
        FAILED(page->WriteSource(bitmap.p, nullptr)) || FAILED(page->Commit()) ||
        FAILED(encoder->Commit()))
        return {};
    HGLOBAL memory = nullptr;
    if (FAILED(::GetHGlobalFromStream(stream.p, &memory))) return {};
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(::GlobalLock(memory));
    if (!bytes) return {};
    std::vector<std::uint8_t> out(bytes, bytes + stat.cbSize.QuadPart);
    ::GlobalUnlock(memory);
    return out;
}

} // namespace

bool writePng(const std::string& path, const Frame& frame, std::string& error) {
    if (frame.width <= 0 || frame.height <= 0) {
        error = "there is no picture yet";
        return false;
    }
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::vector<std::uint8_t> encoded = encode(frame);
    if (SUCCEEDED(com)) ::CoUninitialize();
    if (encoded.empty()) {
        error = "the picture could not be encoded";
        return false;
    }
    const WriteResult r = writeFileAtomic(path, encoded);
    if (!r.ok) error = r.error;
    return r.ok;
}

} // namespace qv::play
