#include "app/startup/startup_flow.h"

#include <QString>

#include "app/settings/settings.h"
#include "app/settings/settings_store.h"
#include "app/startup/instance_channel.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {

std::optional<std::string> ArgumentFromCommandLine(int argc, char** argv) {
  if (argc < 2 || argv[1] == nullptr) return std::nullopt;
  return SjisFromQString(QString::fromLocal8Bit(argv[1]));
}

EntryResult RunEntry(SettingsStore& store, const std::optional<std::string>& argument,
                     const QString& channelDirectory) {
  EntryResult result;
  store.WriteParm(argument.value_or(std::string()));
  if (!argument) return result;
  result.request = ParseStartupRequest(*argument);
  const int rule = result.request.instanceRule;
  if (rule != 1 && rule != 2) return result;
  const QString title =
      QString::fromStdString(WindowTitleForGroup(SjisToUtf8(result.request.group)));
  result.handedOver = InstanceClient(channelDirectory).HandOver(rule, title);
  return result;
}

ParmRequest ReadRequestFromParm(const SettingsStore& store) {
  ParmRequest parm;
  const std::string text = store.ReadParm();
  parm.hadArgument = !text.empty();
  parm.request = ParseStartupRequest(text);
  if (!parm.request.settingsFile.empty())
    parm.settingsFile = store.ResolvePath(parm.request.settingsFile);
  return parm;
}

StartupState ApplyRequest(const ParmRequest& parm, Settings& settings, bool onCommand111,
                          const std::function<std::optional<std::string>()>& clipboardWord) {
  StartupState state;
  if (!parm.request.group.empty()) settings.group = parm.request.group;
  state.bookRequest = parm.request.book;
  state.word = parm.request.word;
  if (state.word.empty() && (onCommand111 || parm.hadArgument) && clipboardWord) {
    if (std::optional<std::string> word = clipboardWord()) state.word = SjisCut(*word, 127);
  }
  state.searchDue = !state.word.empty();
  return state;
}

int RunStartupSearch(StartupSearchHost& host, const StartupState& state) {
  if (!state.searchDue) return -1;
  // The group comes first, so that the book request counts the books of the
  // group that is asked for rather than those of the one shown before.
  const std::string requested = host.RequestedGroup();
  if (!requested.empty() && requested != host.TitleGroup()) host.OpenGroup(requested);
  const BookBar& bar = host.Bar();
  const int selection = ResolveBookRequest(bar, state.bookRequest);
  if (selection >= 0 && !bar[static_cast<size_t>(selection)].IsSeparator() &&
      selection != host.CurrentBook())
    host.OpenBookOnIndexTab(selection);
  host.RunSearch(selection);
  host.RedrawBookBar();
  host.BringToFront();
  return selection;
}

}  // namespace morva
