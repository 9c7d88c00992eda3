// The pictures embedded in the program decode, at the sizes the scene's
// layers are laid out for; a picture that does not decode leaves the
// drawable's bitmap alone.

#include "display/AnimationStrip.h"
#include "display/PictureLoading.h"
#include "display/Sprite.h"
#include "platform/forms/Bitmap.h"

#include <gtest/gtest.h>

namespace {

struct PictureSize {
    const char* resource;
    int width;
    int height;
};

TEST(EmbeddedPictures, JpegPicturesDecodeAtTheirLayerSizes) {
    const PictureSize pictures[] = {
        {"ground", 800, 408},
        {"hightwater", 800, 2944},
        {"lowwater", 611, 3680},
    };
    for (const PictureSize& picture : pictures) {
        SCOPED_TRACE(picture.resource);
        AnimationStrip drawable{nullptr};
        std::string error;
        ASSERT_TRUE(LoadJpegResource(picture.resource, drawable, &error)) << error;
        EXPECT_EQ(drawable.Bitmap().Width(), picture.width);
        EXPECT_EQ(drawable.Bitmap().Height(), picture.height);
    }
}

TEST(EmbeddedPictures, BitmapPicturesDecodeAtTheirLayerSizes) {
    const PictureSize pictures[] = {
        {"stone", 800, 245}, {"masktree", 40, 164}, {"bird", 30, 440},         {"birds_small", 30, 440},
        {"yacht", 31, 868},  {"dolphin", 88, 741},  {"PREV_BITMAP", 154, 116},
    };
    for (const PictureSize& picture : pictures) {
        SCOPED_TRACE(picture.resource);
        const auto bitmap = platform::LoadBitmapResource(picture.resource);
        ASSERT_TRUE(bitmap.has_value());
        EXPECT_EQ(bitmap->Width(), picture.width);
        EXPECT_EQ(bitmap->Height(), picture.height);
    }
}

TEST(EmbeddedPictures, PictureThatIsMissingOrNotAJpegLeavesTheBitmapAlone) {
    Sprite sprite{nullptr};
    const TBitmap before(3, 2);
    sprite.SetBitmap(&before);
    for (const char* resource : {"no_such_picture", "stone"}) {
        SCOPED_TRACE(resource);
        std::string error;
        EXPECT_FALSE(LoadJpegResource(resource, sprite, &error));
        EXPECT_NE(error.find(resource), std::string::npos) << error;
        EXPECT_EQ(sprite.Bitmap(), before);
    }
}

}  // namespace
