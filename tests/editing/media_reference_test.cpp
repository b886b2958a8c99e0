// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/media_reference.h"

#include <gtest/gtest.h>

#include "app/command_availability.h"
#include "editing/editor_fixture.h"
#include "support/shown.h"

namespace cadenzo {
namespace {

using testing::EditorTest;

struct ReferenceCase {
  Medium medium;
  std::string path;
  std::string volumeRoot;
  std::optional<std::string> reference;
};

class ReferenceForms : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferenceForms, NameThePathOnTheMedium) {
  const auto& c = GetParam();
  EXPECT_EQ(MediaReference(c.medium, c.path, c.volumeRoot), c.reference);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ReferenceForms,
    ::testing::Values(
        ReferenceCase{Medium::kUsb, "E:\\Songs\\a.mid", "", "USB:/Songs/a.mid"},
        ReferenceCase{Medium::kHd, "E:\\Songs\\a.mid", "", "HD:/Songs/a.mid"},
        ReferenceCase{Medium::kUsb, "e:/Pop/My Style.sty", "/ignored", "USB:/Pop/My Style.sty"},
        ReferenceCase{Medium::kUsb, "/media/ann/STICK/Songs/a.mid", "/media/ann/STICK",
                      "USB:/Songs/a.mid"},
        ReferenceCase{Medium::kHd, "/media/ann/TYROS/Songs/a.wav", "/media/ann/TYROS/",
                      "HD:/Songs/a.wav"},
        ReferenceCase{Medium::kUsb, "/home/ann/x.mid", "/", "USB:/home/ann/x.mid"},
        ReferenceCase{Medium::kUsb, "/media/ann/STICKER/a.mid", "/media/ann/STICK", std::nullopt},
        ReferenceCase{Medium::kUsb, "/media/ann/STICK", "/media/ann/STICK", std::nullopt},
        ReferenceCase{Medium::kUsb, "\\\\server\\share\\a.mid", "", std::nullopt},
        ReferenceCase{Medium::kHd, "/media/ann/a.mid", "", std::nullopt},
        // The reference is Windows-1252 text, like every cell of the list.
        ReferenceCase{Medium::kUsb, "/m/S/Caf\xC3\xA9.mid", "/m/S", "USB:/Caf\xE9.mid"}));

class Browse : public EditorTest {
 protected:
  VolumeRootOf roots = [](const std::string& path) {
    return path.starts_with("/media/stick/") ? std::string("/media/stick") : std::string();
  };
};

TEST_F(Browse, NoticesAppearOncePerRunForEachButton) {
  Open(1);
  const std::string usbNotice =
      "To access items on the USB stick, please install your USB device on the PC.";
  const std::string hdNotice =
      "To access items on the Tyros 4-5 hard drive, please place your instrument in HD Storate "
      "Mode by holding down the MusicFinder button while turning on the power.\r\n\r\nNote that "
      "this process might take a minute or two; please be patient.";
  for (int i = 0; i < 2; ++i) {
    fx.dialogs.QueueFile(std::nullopt);
    Shown(BrowseUsbMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  }
  for (int i = 0; i < 2; ++i) {
    fx.dialogs.QueueFile(std::nullopt);
    Shown(BrowseHdMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  }
  EXPECT_EQ(fx.dialogs.Texts(), (std::vector<std::string>{usbNotice, hdNotice}));
  ASSERT_EQ(fx.dialogs.fileRequests.size(), 4u);
  const std::string list =
      "*.mid;*.sty;*.pcs;*.bcs;*.sst;*.prs;*.pst;*.fps;*.kar;*.wav;*.WAV;*.mp3;";
  EXPECT_EQ(fx.dialogs.fileRequests[0].filter, "Files(" + list + ")|" + list + "|");
  EXPECT_EQ(fx.dialogs.fileRequests[0].fileName, "");
}

TEST_F(Browse, CancelKeepsTheLabelButEmptiesTheReference) {
  Open(1);
  fx.state.Editor.UsbNoticeShown = true;
  fx.state.Editor.lblSelectedFile = "USB:/old.mid";
  fx.state.EditStyleOrFile = "USB:/old.mid";
  fx.state.Editor.cboStyle = 1;
  fx.dialogs.QueueFile(std::nullopt);
  Shown(BrowseUsbMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  EXPECT_EQ(fx.state.Editor.lblSelectedFile, "USB:/old.mid");
  EXPECT_EQ(fx.state.EditStyleOrFile, "");
  EXPECT_EQ(fx.state.Editor.cboStyle, 1);
}

TEST_F(Browse, UsbStyleEnablesTwelveAndHdAudioDisablesSix) {
  Open(1);
  EditorLists& ed = fx.state.Editor;
  ed.UsbNoticeShown = ed.HdNoticeShown = true;
  ed.cboStyle = 0;

  fx.dialogs.QueueFile("/media/stick/Songs/Ballad.MID");
  Shown(BrowseUsbMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  EXPECT_EQ(ed.lblSelectedFile, "USB:/Songs/Ballad.MID");
  EXPECT_EQ(fx.state.EditStyleOrFile, "USB:/Songs/Ballad.MID");
  EXPECT_EQ(ed.cboStyle, -1);
  for (std::size_t i = 0; i < kTimingControls.size(); ++i) {
    EXPECT_FALSE(TimingControlEnabled(CommandAvailability(fx.state), i)) << kTimingControls[i];
  }

  fx.dialogs.QueueFile("E:\\Styles\\Mine.sty");
  Shown(BrowseUsbMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  EXPECT_EQ(ed.lblSelectedFile, "USB:/Styles/Mine.sty");
  for (std::size_t i = 0; i < kTimingControls.size(); ++i) {
    EXPECT_TRUE(TimingControlEnabled(CommandAvailability(fx.state), i)) << kTimingControls[i];
  }

  fx.dialogs.QueueFile("/media/stick/Audio/live.wav");
  Shown(BrowseHdMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  EXPECT_EQ(ed.lblSelectedFile, "HD:/Audio/live.wav");
  for (std::size_t i = 0; i < kTimingControls.size(); ++i) {
    EXPECT_EQ(TimingControlEnabled(CommandAvailability(fx.state), i), i >= 6) << kTimingControls[i];
  }
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

TEST_F(Browse, FileOffAnyMediumIsRefused) {
  Open(1);
  fx.state.Editor.UsbNoticeShown = true;
  fx.state.Editor.lblSelectedFile = "USB:/old.mid";
  fx.state.Editor.cboStyle = 2;
  fx.dialogs.QueueFile("/srv/share/a.mid");
  Shown(BrowseUsbMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_NE(fx.dialogs.Texts()[0].find("Please choose a file on the USB stick."),
            std::string::npos);
  EXPECT_EQ(fx.state.Editor.lblSelectedFile, "USB:/old.mid");
  EXPECT_EQ(fx.state.Editor.cboStyle, 2);
}

TEST_F(Browse, ChosenFileIsStoredByOk) {
  Open(2);
  Click(2);
  fx.state.EditIsNew = false;
  fx.state.Editor.HdNoticeShown = true;
  fx.dialogs.QueueFile("/media/stick/Songs/Hit.mid");
  Shown(BrowseHdMedia(fx.state, fx.dialogs, roots), fx.dialogs);
  ASSERT_TRUE(Shown(StoreEditedRecord(fx.state, fx.dialogs), fx.dialogs).stored);
  EXPECT_EQ(RowOf(2).Cell(col::kStyle), "HD:/Songs/Hit.mid");
  EXPECT_EQ(RowOf(2).Cell(col::kTempo), "");
}

}  // namespace
}  // namespace cadenzo
