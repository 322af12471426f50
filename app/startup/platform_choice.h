// The window system Morva starts on. On a Wayland session a program that is
// not focused is not told of clipboard changes, so the clipboard watch would
// stay silent there; the desktop entry therefore asks for X11 (--prefer-x11),
// which a Wayland session offers through XWayland.
#pragma once

#include <cstring>

namespace morva {

inline constexpr const char* kPreferX11Option = "--prefer-x11";

// Whether to start on X11 (Qt's xcb platform): only when asked to, when the
// user has not chosen a platform (QT_QPA_PLATFORM unset or empty), on a
// Wayland session (XDG_SESSION_TYPE=wayland or WAYLAND_DISPLAY set) that has
// an X server (DISPLAY set). Null stands for an unset variable.
inline bool StartOnX11(bool preferX11, const char* qtPlatform, const char* sessionType,
                       const char* waylandDisplay, const char* display) {
  auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
  const bool wayland =
      (sessionType != nullptr && std::strcmp(sessionType, "wayland") == 0) || set(waylandDisplay);
  return preferX11 && !set(qtPlatform) && wayland && set(display);
}

}  // namespace morva
