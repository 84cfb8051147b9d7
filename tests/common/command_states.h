#pragma once
// Command states shared by the tests of the command rules.

#include "shell/commands.h"

namespace kelmora::testing {

using shell::TCommandState;

// An idle state in which every command's own conditions hold but the stop's (no script runs):
// archive, list, selections everywhere, every optional page shown, every link set.
inline TCommandState EverythingThere() {
  TCommandState s;
  s.DrawsCount = 10;
  s.DrawsSelected = 2;
  s.CombsCount = 100;
  s.CombsSelected = 3;
  s.UndoExists = true;
  s.ClipboardHasText = true;
  s.StatKindChosen = s.GraphKindChosen = true;
  s.StatRows = 5;
  s.StatRowsSelected = 1;
  s.StakesFileOpen = true;
  s.StakesCount = s.StakesSelected = 1;
  s.RatingCount = s.RatingSelected = 1;
  s.TablesShown = true;
  s.TablesSelected = 1;
  s.SystemsShown = true;
  s.SystemsSelected = 1;
  s.SystemSelectedIsOwn = true;
  s.ScriptLines = 3;
  s.ScriptSelected = 1;
  s.ScriptFirstSelected = s.ScriptLastSelected = 1;
  s.ScriptSelectedIsFilter = true;
  s.LibraryShown = s.LibraryFilterAvailable = s.LibrarySelected = true;
  s.LibrarySelectedDownloadable = s.LibrarySelectedIsOwn = s.LibrarySelectedRated = true;
  s.GraphsShown = s.CardShown = s.LayoutShown = s.WeekShown = true;
  s.CardColumns = s.LayoutColumns = 10;
  s.CardSelLeft = s.LayoutSelLeft = 1;
  s.CardSelRight = s.LayoutSelRight = 8;
  s.HelpFileExists = true;
  s.WebLinksSet = ~0u;
  s.View.DrawsExclude = 1;
  s.View.PrefetchsEnabled = true;
  return s;
}

}  // namespace kelmora::testing
