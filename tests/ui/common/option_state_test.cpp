#include "ui/common/option_state.h"

#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::Native;

// The state as the dialog has it right after start-up.
struct StartedState {
  COptionState state;
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
  const RunPlan plan = s.state.Plan();
  EXPECT_TRUE(plan.sourceDownload);
  EXPECT_EQ(plan.index, IndexMode::Renumber);
  EXPECT_FALSE(plan.sourceDisc || plan.listFile || plan.copyAll || plan.WritesConfig() || plan.jukeList);
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
    EXPECT_EQ(s.state.Plan().sourceDownload, c.downloadAfter) << c.name;
    EXPECT_EQ(s.state.Plan().sourceDisc, !c.downloadAfter) << c.name;
  }
}

TEST(OptionStateTest, DiscSourceClearsAndDisablesJukeListAndDownloadEnablesItUnchecked) {
  StartedState s;
  s.state.OnClick(ID_JUKE_LIST, true);
  ASSERT_TRUE(s.state.Plan().jukeList);
  s.Click(ID_SOURCE_DISC);
  EXPECT_FALSE(s.state.Plan().jukeList);
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
  };
  const Case pairs[] = {
      {ID_INDEX_RENUMBER, ID_INDEX_KEEP},
      {ID_INDEX_KEEP, ID_INDEX_RENUMBER},
      {ID_COPY_MP3, ID_MOVE_MP3},
      {ID_MOVE_MP3, ID_COPY_MP3},
  };
  for (const Case& c : pairs) {
    StartedState s;
    s.state.OnClick(c.other, true);
    s.state.OnClick(c.id, true);
    EXPECT_TRUE(s.state.IsChecked(c.id)) << c.id;
    EXPECT_FALSE(s.state.IsChecked(c.other)) << c.id;
    // Unchecking leaves both off; the partner is not switched back on.
    s.state.OnClick(c.id, false);
    EXPECT_FALSE(s.state.IsChecked(c.id)) << c.id;
    EXPECT_FALSE(s.state.IsChecked(c.other)) << c.id;
  }
  StartedState s;
  s.Click(ID_CONFIG_RENUMBER);
  s.Click(ID_CONFIG_KEEP);
  EXPECT_TRUE(s.state.IsChecked(ID_CONFIG_RENUMBER));
  EXPECT_TRUE(s.state.IsChecked(ID_CONFIG_KEEP));
  EXPECT_TRUE(s.state.Plan().configRenumber && s.state.Plan().configKeep);
}

// The marks are the run's plan; no box is left out of it.
TEST(OptionStateTest, BoxesMakeTheRunPlan) {
  StartedState s;
  s.Click(ID_LIST_FILE);
  s.Click(ID_COPY_ALL);
  s.Click(ID_INDEX_KEEP);
  RunPlan plan = s.state.Plan();
  EXPECT_TRUE(plan.listFile && plan.copyAll);
  EXPECT_EQ(plan.index, IndexMode::Keep);
  s.Click(ID_INDEX_KEEP);
  EXPECT_EQ(s.state.Plan().index, IndexMode::None);
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
  EXPECT_FALSE(s.state.IsChecked(ID_TARGET_SUBFOLDER));
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
