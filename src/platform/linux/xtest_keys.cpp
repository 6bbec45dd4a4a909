#include "platform/linux/xtest_keys.h"

#include <X11/keysym.h>

namespace plorix::platform {

namespace {

// Ranges of virtual keys whose keysyms run in step.
struct KeyRange {
    int firstKey, lastKey;
    KeySym firstSym;
};
constexpr KeyRange kRanges[] = {
    {'0', '9', XK_0}, {'A', 'Z', XK_a}, {96, 105, XK_KP_0}, {112, 135, XK_F1},  // F1 .. F24
};

struct KeyName {
    int key;
    KeySym sym;
};
constexpr KeyName kSingles[] = {
    {8, XK_BackSpace},      {9, XK_Tab},           {12, XK_Clear},
    {13, XK_Return},        {16, XK_Shift_L},      {17, XK_Control_L},
    {18, XK_Alt_L},         {19, XK_Pause},        {20, XK_Caps_Lock},
    {27, XK_Escape},        {32, XK_space},        {33, XK_Prior},
    {34, XK_Next},          {35, XK_End},          {36, XK_Home},
    {37, XK_Left},          {38, XK_Up},           {39, XK_Right},
    {40, XK_Down},          {41, XK_Select},       {43, XK_Execute},
    {44, XK_Print},         {45, XK_Insert},       {46, XK_Delete},
    {47, XK_Help},          {91, XK_Super_L},      {92, XK_Super_R},
    {93, XK_Menu},          {106, XK_KP_Multiply}, {107, XK_KP_Add},
    {108, XK_KP_Separator}, {109, XK_KP_Subtract}, {110, XK_KP_Decimal},
    {111, XK_KP_Divide},    {144, XK_Num_Lock},    {145, XK_Scroll_Lock},
    {186, XK_semicolon},    {187, XK_equal},       {188, XK_comma},
    {189, XK_minus},        {190, XK_period},      {191, XK_slash},
    {192, XK_grave},        {219, XK_bracketleft}, {220, XK_backslash},
    {221, XK_bracketright}, {222, XK_apostrophe},
};

// Keysyms for Unicode characters outside Latin-1 are the code point plus this.
constexpr KeySym kUnicodeKeysyms = 0x01000000;

}  // namespace

KeySym keysymForVirtualKey(int virtualKey) {
    const int key = virtualKey & 0xFF;
    for (const KeyRange& r : kRanges)
        if (key >= r.firstKey && key <= r.lastKey) return r.firstSym + (key - r.firstKey);
    for (const KeyName& k : kSingles)
        if (k.key == key) return k.sym;
    return NoSymbol;
}

KeySym keysymForCharacter(char32_t c) {
    if (c == U'\n') return XK_Return;
    if (c == U'\t') return XK_Tab;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c > 0x10FFFF) return NoSymbol;
    if (c < 0x100) return c;  // Latin-1 keysyms are the characters themselves
    return kUnicodeKeysyms + c;
}

}  // namespace plorix::platform
