#include "ui/common/option_state.h"

#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::Native;

// The state as the dialog has it right after start-up.
struct StartedState {
  RunOptions options = DefaultRunOptions();
  COptionState state{options};
  StartedState() { state.ApplyDefaultMarks(); }

  // A click on a box toggles its mark first, as an automatic check box does.
  void Click(int id) { state.OnClick(id, !state.IsChecked(id)); }
};

TEST(OptionStateTest, StartsWithDownloadSourceAndRenumberingOnly) {
  StartedState s;
  for (int id : {ID_JUKE_LIST, ID_INDEX_FILE, ID_COPY_MP3, ID_MOVE_MP3, ID_TARGET_SUBFOLDER, ID_SOURCE_DOWNLOAD,
                 ID_SOURCE_DISC, ID_INDEX_RENUMBER, ID_INDEX_KEEP, ID_LIST_FILE, ID_COPY_ALL, ID_CONFIG_RENUMBER,
                 ID_CONFIG_KEEP}) {
    bool expected = id == ID_SOURCE_DOWNLOAD || id == ID_INDEX_RENUMBER;
    EXPECT_EQ(s.state.IsChecked(id), expected) << id;
    // The hidden boxes stay disabled; everything a person can reach is enabled.
    EXPECT_EQ(s.state.IsEnabled(id), id > ID_MOVE_MP3) << id;
  }
  EXPECT_TRUE(s.state.IsEnabled(ID_SELECT_TARGET));
  EXPECT_TRUE(s.state.IsEnabled(ID_TARGET_EDIT));
  EXPECT_EQ(s.state.SourceText(), "");
  EXPECT_EQ(s.state.TargetText(), "");
  MakeMarks marks = s.state.Marks();
  EXPECT_EQ(marks.sourceDownload, 1);
  EXPECT_EQ(marks.indexRenumber, 1);
  EXPECT_EQ(marks.sourceDisc + marks.indexKeep + marks.listFile + marks.copyAll, 0);
}

// Every click on a source box, on or off, empties both paths: a folder means
// nothing to the songlist reader and a songlist file nothing to the scan.
TEST(OptionStateTest, AnyClickOnTheSourceKindEmptiesBothPaths) {
  struct Case {
    const char* name;
    int first;   // clicked once before (0: none)
    int second;  // then this one
    bool downloadAfter;
  };
  const Case cases[] = {
      {"switch to disc", 0, ID_SOURCE_DISC, false},
      {"click checked download", 0, ID_SOURCE_DOWNLOAD, true},
      {"switch back to download", ID_SOURCE_DISC, ID_SOURCE_DOWNLOAD, true},
      {"click checked disc", ID_SOURCE_DISC, ID_SOURCE_DISC, false},
  };
  for (const Case& c : cases) {
    StartedState s;
    if (c.first != 0) s.Click(c.first);
    s.state.SetSourceText("/songs/list.txt");
    s.state.SetTargetText("/out");
    s.Click(c.second);
    EXPECT_EQ(s.state.SourceText(), "") << c.name;
    EXPECT_EQ(s.state.TargetText(), "") << c.name;
    EXPECT_EQ(s.state.IsChecked(ID_SOURCE_DOWNLOAD), c.downloadAfter) << c.name;
    EXPECT_EQ(s.state.IsChecked(ID_SOURCE_DISC), !c.downloadAfter) << c.name;
    EXPECT_EQ(s.options.m_bSourceDownload, c.downloadAfter ? 1 : 0) << c.name;
    EXPECT_EQ(s.options.m_bSourceDisc, c.downloadAfter ? 0 : 1) << c.name;
  }
}

TEST(OptionStateTest, DiscSourceClearsAndDisablesJukeListAndDownloadEnablesItUnchecked) {
  StartedState s;
  s.state.OnClick(ID_JUKE_LIST, true);
  ASSERT_EQ(s.options.m_bJukeList, 1);
  s.Click(ID_SOURCE_DISC);
  EXPECT_EQ(s.options.m_bJukeList, 0);
  EXPECT_FALSE(s.state.IsChecked(ID_JUKE_LIST));
  EXPECT_FALSE(s.state.IsEnabled(ID_JUKE_LIST));
  s.Click(ID_SOURCE_DOWNLOAD);
  EXPECT_TRUE(s.state.IsEnabled(ID_JUKE_LIST));
  EXPECT_FALSE(s.state.IsChecked(ID_JUKE_LIST));
}

TEST(OptionStateTest, ExclusivePairsAllowAtMostOneAndConfigBoxesAllowBoth) {
  struct Case {
    int id;
    int other;
    int32_t RunOptions::*flag;
    int32_t RunOptions::*otherFlag;
  };
  const Case pairs[] = {
      {ID_INDEX_RENUMBER, ID_INDEX_KEEP, &RunOptions::m_bIndexRenumber, &RunOptions::m_bIndexKeep},
      {ID_INDEX_KEEP, ID_INDEX_RENUMBER, &RunOptions::m_bIndexKeep, &RunOptions::m_bIndexRenumber},
      {ID_COPY_MP3, ID_MOVE_MP3, &RunOptions::m_bCopyMp3, &RunOptions::m_bMoveMp3},
      {ID_MOVE_MP3, ID_COPY_MP3, &RunOptions::m_bMoveMp3, &RunOptions::m_bCopyMp3},
  };
  for (const Case& c : pairs) {
    StartedState s;
    s.state.OnClick(c.other, true);
    s.state.OnClick(c.id, true);
    EXPECT_TRUE(s.state.IsChecked(c.id)) << c.id;
    EXPECT_FALSE(s.state.IsChecked(c.other)) << c.id;
    EXPECT_EQ(s.options.*c.flag, 1) << c.id;
    EXPECT_EQ(s.options.*c.otherFlag, 0) << c.id;
    // Unchecking leaves both off; the partner is not switched back on.
    s.state.OnClick(c.id, false);
    EXPECT_FALSE(s.state.IsChecked(c.id)) << c.id;
    EXPECT_FALSE(s.state.IsChecked(c.other)) << c.id;
    EXPECT_EQ(s.options.*c.flag, 0) << c.id;
    EXPECT_EQ(s.options.*c.otherFlag, 0) << c.id;
  }
  StartedState s;
  s.Click(ID_CONFIG_RENUMBER);
  s.Click(ID_CONFIG_KEEP);
  EXPECT_TRUE(s.state.IsChecked(ID_CONFIG_RENUMBER));
  EXPECT_TRUE(s.state.IsChecked(ID_CONFIG_KEEP));
  EXPECT_EQ(s.options.m_bConfigRenumber, 1);
  EXPECT_EQ(s.options.m_bConfigKeep, 1);
}

// The boxes a run does not re-read keep what their click stored; the ones it
// re-reads reach the run as marks.
TEST(OptionStateTest, PlainBoxesStoreTheirFlagAndReachTheRunMarks) {
  StartedState s;
  s.Click(ID_LIST_FILE);
  s.Click(ID_COPY_ALL);
  s.Click(ID_INDEX_KEEP);
  MakeMarks marks = s.state.Marks();
  EXPECT_EQ(marks.listFile, 1);
  EXPECT_EQ(marks.copyAll, 1);
  EXPECT_EQ(marks.indexKeep, 1);
  EXPECT_EQ(marks.indexRenumber, 0);
  EXPECT_EQ(s.options.m_bListFile, 1);
  EXPECT_EQ(s.options.m_bCopyAll, 1);
}

TEST(OptionStateTest, SubfolderRuleForBothKindsOfSource) {
  struct Case {
    const char* name;
    bool disc;
    const char* source;
    const char* target;
  };
  const Case cases[] = {
      {"download folder", false, "/home/me/Songs", "/home/me/Songs/KVX"},
      {"songlist file", true, "/home/me/Songs/list.txt", "/home/me/Songs/KVX"},
      {"empty download source", false, "", "/KVX"},
      {"empty disc source", true, "", "/KVX"},
      {"disc path without a dot", true, "/home/me/Songs/list", "/KVX"},
      {"disc name without a folder", true, "list.txt", "/KVX"},
  };
  for (const Case& c : cases) {
    // Ticked after the source was typed.
    StartedState typed;
    if (c.disc) typed.Click(ID_SOURCE_DISC);
    typed.state.SetSourceText(Native(c.source));
    typed.Click(ID_TARGET_SUBFOLDER);
    EXPECT_EQ(typed.state.TargetText(), Native(c.target)) << c.name;
    EXPECT_FALSE(typed.state.IsEnabled(ID_SELECT_TARGET)) << c.name;
    EXPECT_FALSE(typed.state.IsEnabled(ID_TARGET_EDIT)) << c.name;

    // Ticked first, then the source chosen: the target follows the chooser.
    StartedState chosen;
    if (c.disc) chosen.Click(ID_SOURCE_DISC);
    chosen.Click(ID_TARGET_SUBFOLDER);
    chosen.state.ChooseSource(Native(c.source));
    EXPECT_EQ(chosen.state.SourceText(), Native(c.source)) << c.name;
    EXPECT_EQ(chosen.state.TargetText(), Native(c.target)) << c.name;
  }
}

TEST(OptionStateTest, UntickingSubfolderReenablesTargetAndKeepsItsText) {
  StartedState s;
  s.state.SetSourceText(Native("/songs"));
  s.Click(ID_TARGET_SUBFOLDER);
  s.Click(ID_TARGET_SUBFOLDER);
  EXPECT_TRUE(s.state.IsEnabled(ID_SELECT_TARGET));
  EXPECT_TRUE(s.state.IsEnabled(ID_TARGET_EDIT));
  EXPECT_EQ(s.state.TargetText(), Native("/songs/KVX"));
  EXPECT_EQ(s.options.m_bTargetSubfolder, 0);
  // Without the rule, a chosen source leaves the target alone.
  s.state.ChooseSource(Native("/other"));
  EXPECT_EQ(s.state.TargetText(), Native("/songs/KVX"));
}

// The rule reads the field as a 260-byte buffer would; a target that would
// not fit a path is refused rather than cut into a folder nobody asked for.
TEST(OptionStateTest, SubfolderTargetNeverExceedsAPath) {
  StartedState fits;
  fits.state.SetSourceText(Native("/") + std::string(254, 'a'));  // 255 + "/KVX" = 259
  fits.Click(ID_TARGET_SUBFOLDER);
  EXPECT_EQ(fits.state.TargetText().size(), 259u);

  StartedState tooLong;
  tooLong.state.SetSourceText(Native("/") + std::string(255, 'a'));
  tooLong.Click(ID_TARGET_SUBFOLDER);
  EXPECT_EQ(tooLong.state.TargetText(), "");
  EXPECT_FALSE(tooLong.state.IsEnabled(ID_TARGET_EDIT));

  // Only the first 259 characters of the field count: the folder part of a
  // longer disc path is still taken from them.
  StartedState disc;
  disc.Click(ID_SOURCE_DISC);
  disc.state.SetSourceText(Native("/s/list.txt") + std::string(400, 'x'));
  disc.Click(ID_TARGET_SUBFOLDER);
  EXPECT_EQ(disc.state.TargetText(), Native("/s/KVX"));
}

TEST(OptionStateTest, RunLocksTheControlsThatFeedItAndRestoresThemAfter) {
  StartedState s;
  s.state.SetSourceText("/songs");
  s.Click(ID_TARGET_SUBFOLDER);  // disables the target side on its own
  s.state.BeginRun();
  for (int id : {ID_MAKE, ID_SELECT_SOURCE, ID_SELECT_TARGET, ID_SOURCE_EDIT, ID_TARGET_EDIT, ID_EXIT,
                 ID_TARGET_SUBFOLDER, ID_SOURCE_DOWNLOAD, ID_SOURCE_DISC, ID_INDEX_RENUMBER, ID_INDEX_KEEP,
                 ID_LIST_FILE, ID_COPY_ALL, ID_CONFIG_RENUMBER, ID_CONFIG_KEEP, ID_JUKE_LIST}) {
    EXPECT_FALSE(s.state.IsEnabled(id)) << id;
  }
  // Reading the log, help and the web site stay available during a run.
  for (int id : {ID_VIEW_LOG, ID_HELP_BUTTON, ID_VISIT_SITE}) EXPECT_TRUE(s.state.IsEnabled(id)) << id;
  s.state.EndRun();
  EXPECT_TRUE(s.state.IsEnabled(ID_MAKE));
  EXPECT_TRUE(s.state.IsEnabled(ID_EXIT));
  EXPECT_TRUE(s.state.IsEnabled(ID_SOURCE_EDIT));
  // What the sub-folder rule disabled stays disabled.
  EXPECT_FALSE(s.state.IsEnabled(ID_SELECT_TARGET));
  EXPECT_FALSE(s.state.IsEnabled(ID_TARGET_EDIT));
}

}  // namespace
}  // namespace valmero
