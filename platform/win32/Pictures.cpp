// Pictures on Windows: JPEG and BMP decoding through the Windows Imaging
// Component, the program's bitmap resources, and the canvas drawing of a
// bitmap into a device context through GDI.
#include "platform/forms/Bitmap.h"
#include "platform/image/Limits.h"
#include "platform/win32/ComScope.h"
#include "platform/win32/ResourceBytes.h"

#include <wincodec.h>

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComPointer = std::unique_ptr<Interface, ComRelease>;

std::optional<TBitmap> Failure(std::string* error, const char* text) {
    if (error != nullptr) *error = text;
    return std::nullopt;
}

// Any picture format the imaging component knows, its first frame converted
// to 0x00RRGGBB.
std::optional<TBitmap> Decode(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.empty() || bytes.size() > std::size_t(INT_MAX))
        return Failure(error, "picture data is empty or too large");
    const platform::win32::ComScope com;
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&rawFactory))))
        return Failure(error, "the Windows Imaging Component is not available");
    const ComPointer<IWICImagingFactory> factory(rawFactory);

    IWICStream* rawStream = nullptr;
    if (FAILED(factory->CreateStream(&rawStream))) return Failure(error, "cannot make a picture stream");
    const ComPointer<IWICStream> stream(rawStream);
    // The decoder only reads from the buffer.
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), DWORD(bytes.size()))))
        return Failure(error, "cannot read the picture data");

    IWICBitmapDecoder* rawDecoder = nullptr;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                &rawDecoder)))
        return Failure(error, "not a picture in a known format");
    const ComPointer<IWICBitmapDecoder> decoder(rawDecoder);

    IWICBitmapFrameDecode* rawFrame = nullptr;
    if (FAILED(decoder->GetFrame(0, &rawFrame))) return Failure(error, "the picture has no frame");
    const ComPointer<IWICBitmapFrameDecode> frame(rawFrame);
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || !platform::image::PictureSizeAllowed(width, height))
        return Failure(error, "the picture is empty or too large");

    IWICFormatConverter* rawConverter = nullptr;
    if (FAILED(factory->CreateFormatConverter(&rawConverter)))
        return Failure(error, "cannot convert the picture");
    const ComPointer<IWICFormatConverter> converter(rawConverter);
    if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return Failure(error, "cannot convert the picture");

    TBitmap picture{int(width), int(height)};
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                     reinterpret_cast<BYTE*>(picture.Row(0).data()))))
        return Failure(error, "the picture data is damaged");
    for (int y = 0; y < picture.Height(); ++y)
        for (std::uint32_t& pixel : picture.Row(y)) pixel &= 0x00FFFFFF;
    return picture;
}

// A bitmap resource is a BMP file without its file header: the header is
// put back in front so that the decoder takes it.
std::vector<std::uint8_t> WithFileHeader(std::span<const std::uint8_t> dib) {
    if (dib.size() < 40) return {};
    std::vector<std::uint8_t> file(14 + dib.size());
    auto little = [](const std::uint8_t* at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = (value << 8) | at[i];
        return value;
    };
    const std::uint32_t headerSize = little(dib.data(), 4);
    const std::uint32_t bitsPerPixel = little(dib.data() + 14, 2);
    std::uint32_t colours = little(dib.data() + 32, 4);
    if (colours == 0 && bitsPerPixel <= 8) colours = 1u << bitsPerPixel;
    const std::uint32_t offset = 14 + headerSize + 4 * colours;
    const std::uint32_t size = std::uint32_t(file.size());
    const std::uint8_t header[14] = {'B',
                                     'M',
                                     std::uint8_t(size),
                                     std::uint8_t(size >> 8),
                                     std::uint8_t(size >> 16),
                                     std::uint8_t(size >> 24),
                                     0,
                                     0,
                                     0,
                                     0,
                                     std::uint8_t(offset),
                                     std::uint8_t(offset >> 8),
                                     std::uint8_t(offset >> 16),
                                     std::uint8_t(offset >> 24)};
    std::memcpy(file.data(), header, sizeof header);
    std::memcpy(file.data() + 14, dib.data(), dib.size());
    return file;
}

BITMAPINFO DescriptionOf(const TBitmap& bitmap) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height();  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

void CanvasDraw(HDC dc, int x, int y, const TBitmap& bitmap) {
    CanvasStretchDraw(dc, RECT{x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void CanvasStretchDraw(HDC dc, const RECT& dest, const TBitmap& bitmap) {
    if (dc == nullptr || bitmap.Empty()) return;
    const BITMAPINFO info = DescriptionOf(bitmap);
    // Rows and columns dropped or repeated, never blended.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0,
                  bitmap.Width(), bitmap.Height(), bitmap.Row(0).data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

namespace platform {

std::optional<TBitmap> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF)
        return Failure(error, "not a JPEG picture");
    return Decode(bytes, error);
}

std::optional<TBitmap> DecodeBmp(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') return Failure(error, "not a BMP picture");
    return Decode(bytes, error);
}

std::optional<TBitmap> LoadBitmapResource(std::string_view name) {
    if (const auto dib = win32::ResourceBytes(name, RT_BITMAP); !dib.empty()) {
        const std::vector<std::uint8_t> file = WithFileHeader(dib);
        return DecodeBmp(file);
    }
    const auto bytes = win32::ResourceBytes(name, RT_RCDATA);
    if (bytes.empty()) return std::nullopt;
    return DecodeJpeg(bytes);
}

}  // namespace platform
