// Keyboard input from SDL in the original platform's terms: virtual-key
// codes, shift states and ANSI characters.
#pragma once

#include "platform/forms/Forms.h"

#include <SDL_keycode.h>

#include <string>
#include <string_view>

namespace platform::sdl {

// The code the original platform gives the key (it follows the keyboard
// layout, as SDL's key codes do); 0xFF, its code for "no mapping", for a
// key it does not know.
WORD VirtualKeyOf(SDL_Keycode key);

TShiftState ShiftStateOf(Uint16 modifiers);

// The character a key types that SDL's text input does not report: Esc 27,
// Enter 13, Backspace 8, Tab 9; 0 for every other key.
char ControlCharacterOf(SDL_Keycode key);

// Typed text (UTF-8) as ANSI characters: Latin-1 code points as their byte,
// anything else, and malformed bytes, as '?'.
std::string AnsiFromUtf8(std::string_view text);

}  // namespace platform::sdl
