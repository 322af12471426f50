// Following the links of shown content that lead out of the content view:
// pictures open the image window, sounds play CD audio. (Links to text and
// links without a target are the content view's own business.)
#pragma once

#include <QRect>
#include <string>
#include <string_view>

namespace morva {

class CdAudio;
class TGraphForm;
class TTextView;

// Where the image window goes when it opens: the main window's left + the
// Graph x offset (0 when that sum is not positive), likewise the top.
QPoint ImageWindowPlace(const QRect& mainFrame, int graphX, int graphY);

// The marked text that precedes a clicked link's marker, for the picture's
// title: the text of the line the click fell on up to the marker, with the
// lines before it put in front while no anchor start (0x01) has been met.
std::string ImageLinkText(TTextView& view, std::string_view marker);

// FollowLink for "G": opens the image window when it is not shown (placed as
// above) and shows the picture of the marker for the view's book. The window,
// sized for the picture, is kept on the usable screen area (by default that
// of the screen it is on).
void FollowImageLink(TGraphForm& imageWindow, TTextView& view, std::string_view marker,
                     const QRect& mainFrame, int graphX, int graphY, const QRect& area = {});

// FollowLink for "S": plays the passage. False when the marker is malformed.
bool FollowSoundLink(CdAudio& audio, std::string_view marker);

}  // namespace morva
