// The body shared by the image codec fuzz targets: decode the input; when it
// decodes, the image must be consistent, and what the codec writes from it
// must decode again to the same pixels (for the formats the codec writes).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "zozud/image/Image.h"
#include "zozud/io/Codec.h"

namespace codecfuzz {

inline void Check(bool condition) {
    if (!condition) abort();
}

// Touches every byte of the buffer, so that a size that disagrees with the
// allocation shows under the address sanitizer.
inline void CheckImage(const zozud::cImage& image) {
    if (!image.Pixels) return;
    unsigned sum = 0;
    for (int64_t i = 0; i < image.GetSize(); i++) sum += image.Pixels[i];
    (void)sum;
    Check(image.MipMapCount >= 1 && image.Width >= 1 && image.Height >= 1);
}

inline void RoundTrip(zozud::cIO::ImageCodec& codec, const zozud::cImage& image) {
    zozud::cFile file;
    if (!codec.Encode(image, &file)) return;
    file.SetPos(0);  // the encoder leaves the cursor after what it wrote
    zozud::cImage back;
    Check(codec.Decode(file, &back));
    Check(back.Format == image.Format && back.Width == image.Width && back.Height == image.Height);
    Check(back.Depth == image.Depth && back.MipMapCount == image.MipMapCount);
    Check(memcmp(back.Pixels, image.Pixels, (size_t)image.GetSize()) == 0);
}

// readsBack says whether what the codec writes from an image comes back
// through its own decoder; null: nothing is written.
inline bool Always(const zozud::cImage&) { return true; }

inline int Run(zozud::cIO::ImageCodec& codec, const uint8_t* data, size_t size,
               bool (*readsBack)(const zozud::cImage&)) {
    zozud::cFile file;
    file.Copy(data, (int)size, "fuzz");
    zozud::cImage image;
    if (!codec.Decode(file, &image)) return 0;
    CheckImage(image);
    if (readsBack && image.Pixels && readsBack(image)) RoundTrip(codec, image);
    return 0;
}

}  // namespace codecfuzz
