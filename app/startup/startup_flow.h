// The start-up steps of the program, outside the main window:
//  - the entry (RunEntry): write Parm, then hand the request to a running
//    window when the instance rule asks for it;
//  - reading the request at window creation and again on command 111
//    (ReadRequestFromParm / ApplyRequest);
//  - the start-up search (RunStartupSearch) through a small host interface.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/startup/startup_request.h"
#include "engine/book/book_list.h"

class QString;

namespace morva {

class SettingsStore;
struct Settings;

// The first command-line argument in Shift-JIS (from the locale's encoding,
// UTF-8 on Linux); nothing when there is none.
std::optional<std::string> ArgumentFromCommandLine(int argc, char** argv);

struct EntryResult {
  bool handedOver = false;  // a running window took the request: end now
  StartupRequest request;
};

// Entry steps 2-5: writes Parm (the argument, or the empty text) into the
// settings file, parses the request and, for rule 1 or 2, looks for a running
// window on the channel and hands the request over. Rule 1 with an empty
// group looks for nothing. REQUIRES: the QApplication exists (the hand-over
// waits in a local event loop); nothing else of the program is made yet.
EntryResult RunEntry(SettingsStore& store, const std::optional<std::string>& argument,
                     const QString& channelDirectory);

// Reading the request, step 1: Parm of the store in use; when field 1 is not
// empty, settingsFile is the settings file to use from now on (absolute,
// resolved against the present settings directory), else empty.
struct ParmRequest {
  StartupRequest request;
  bool hadArgument = false;  // Parm was not empty
  std::string settingsFile;
};
ParmRequest ReadRequestFromParm(const SettingsStore& store);

// What the window keeps of a request.
struct StartupState {
  std::string bookRequest;  // field 4
  std::string word;         // CurrentWord (at most 127 bytes)
  bool searchDue = false;   // the start-up search is to run
};

// Steps 3-5: field 3 replaces settings.group when not empty; fields 4 and 5
// become the book request and the word; when there is no word and either
// onCommand111 or the program was started with an argument, clipboardWord()
// (the clipboard helper's rules; may be unset) supplies it. The search is due
// when a word stands. The caller puts the word into the search box.
StartupState ApplyRequest(const ParmRequest& parm, Settings& settings, bool onCommand111,
                          const std::function<std::optional<std::string>()>& clipboardWord);

class StartupSearchHost {
 public:
  virtual ~StartupSearchHost() = default;
  virtual const BookBar& Bar() const = 0;
  // The group named in the window title (Shift-JIS; empty without a group).
  virtual std::string TitleGroup() const = 0;
  // The Group setting after the request was applied.
  virtual std::string RequestedGroup() const = 0;
  virtual void OpenGroup(const std::string& name) = 0;
  virtual int CurrentBook() const = 0;
  virtual void OpenBookOnIndexTab(int entry) = 0;
  // RunSearch: -1 all books, a book, or a separator's sub-group.
  virtual void RunSearch(int position) = 0;
  virtual void RedrawBookBar() = 0;
  virtual void BringToFront() = 0;
};

// The start-up search (only when due): opens the requested group when it
// differs from the one in the title, resolves the book request against the
// bar, opens a requested book other than the open one on the 索引 tab, runs
// the search on the selection (all books when nothing is selected), redraws
// the bar and brings the window forward. Returns the selection.
int RunStartupSearch(StartupSearchHost& host, const StartupState& state);

}  // namespace morva
