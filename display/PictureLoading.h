// Pictures embedded in the program, decoded into a drawable's Bitmap.
#pragma once

#include <string>
#include <string_view>

class Drawable;

// Decodes the embedded JPEG picture `resource` and gives it to the drawable
// as its Bitmap. False, with `error` filled and the Bitmap left as it was,
// when there is no such resource or it does not decode.
bool LoadJpegResource(std::string_view resource, Drawable& drawable, std::string* error = nullptr);
