#include "app/clipboard/follow_link.h"

#include "app/clipboard/cd_audio.h"
#include "view/graph_window/tgraph_form.h"
#include "view/ttextview.h"
#include "view/window_place.h"

namespace morva {
namespace {

// Lines looked back for the anchor start of a wrapped link text.
constexpr int kMaxLinesBack = 3;

}  // namespace

QPoint ImageWindowPlace(const QRect& mainFrame, int graphX, int graphY) {
  const int x = mainFrame.left() + graphX;
  const int y = mainFrame.top() + graphY;
  return {x > 0 ? x : 0, y > 0 ? y : 0};
}

std::string ImageLinkText(TTextView& view, std::string_view marker) {
  if (view.LineCount() < 1) return {};
  const TextPos at = view.SelectionStart();
  std::string line(view.brows().GetLine(at.line).text);
  size_t end = line.find(marker, std::min(static_cast<size_t>(std::max(at.pos, 0)), line.size()));
  if (end == std::string::npos) end = line.find(marker);
  if (end == std::string::npos) end = line.size();
  std::string text = line.substr(0, end);
  // The link text begins at the last anchor start, perhaps on an earlier line.
  for (int back = 1; back <= kMaxLinesBack &&
                     text.find(markup::kAnchorStart) == std::string::npos && at.line - back >= 0;
       ++back)
    text = std::string(view.brows().GetLine(at.line - back).text) + text;
  return text;
}

void FollowImageLink(TGraphForm& imageWindow, TTextView& view, std::string_view marker,
                     const QRect& mainFrame, int graphX, int graphY, const QRect& area) {
  if (!imageWindow.isVisible()) imageWindow.move(ImageWindowPlace(mainFrame, graphX, graphY));
  imageWindow.ShowImage(view.ShownSubbook(), marker, ImageLinkText(view, marker));
  KeepOnScreen(imageWindow, area);
}

bool FollowSoundLink(CdAudio& audio, std::string_view marker) {
  return PlaySoundMarker(marker, audio);
}

}  // namespace morva
