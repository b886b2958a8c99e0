// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the instrument link for the whole-program MIDI tests with one fixed selection:
// style "Big Band" on a PSR-S970, Intro 2, Main B, tempo 120.
//
//   midi_send_probe write <app folder> <out.mid>   the template as filled for the send
//   midi_send_probe send <app folder> <output>     sends through the system's MIDI outputs
//   midi_send_probe window [<png> [<output>]]      lists frmMidiDevice's entries, one a line,
//                                                  and saves a picture with the output chosen
// Exit codes: 0 done, 1 the send showed a message, 2 wrong use, 3 the output is not listed,
// 77 built without the windows library (so without the system's MIDI outputs).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/dialogs.h"
#include "app/paths.h"
#include "midi/midi_file.h"
#include "midi/send_to_instrument.h"
#include "midi/sysex_messages.h"
#include "textio/text_file.h"

#ifdef CADENZO_HAVE_RTMIDI
#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QPixmap>

#include "ui/midi_connection.h"
#include "ui/system_midi_port.h"
#endif

namespace cadenzo {
namespace {

// Prints every message the command shows; the probe fails when there was one.
class PrintingDialogs : public Dialogs {
 public:
  Answer Message(const MessageRequest& request) override {
    std::fprintf(stderr, "message: %s\n", request.text.c_str());
    ++shown;
    return Answer::kOk;
  }
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> OpenFile(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const FileRequest&) override { return std::nullopt; }
  void SetBusy(bool) override {}
  int shown = 0;
};

// One output that takes everything and keeps nothing.
class SinkPort : public MidiPort {
 public:
  std::vector<std::string> OutputNames() override { return {"sink"}; }
  bool Open(int index) override { return open_ = index == 0; }
  void Send(std::span<const std::uint8_t>) override {}
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }

 private:
  bool open_ = false;
};

void SelectFixedRecord(AppState& state, const std::string& appPath) {
  state.AppPath = WithTrailingSlash(appPath);
  state.FileName = "Probe.mfd";
  state.TargetInstrument = "PSR-S970";
  state.SelectedStyleText = "Big Band";
  state.SelectedTempo = 120;
  state.SelectedIntroCode = static_cast<std::int16_t>(SectionCode("Intro 2"));
  state.SelectedNextCode = static_cast<std::int16_t>(SectionCode("Main B"));
}

int Write(const std::string& appPath, const std::string& out) {
  AppState state;
  SelectFixedRecord(state, appPath);
  state.MidiDeviceIndex = 0;
  state.MidiDeviceName = "sink";
  SinkPort port;
  PrintingDialogs dialogs;
  InstrumentLink link(port, [](std::chrono::microseconds) {});
  SetPSR(state, dialogs, link);
  if (dialogs.shown > 0 || link.MidiFileHandle() == nullptr) return 1;
  link.MidiFileHandle()->WaitUntilIdle();
  WriteFileAtomic(out, WriteMidiFile(link.MidiFileHandle()->Loaded()));
  return 0;
}

#ifdef CADENZO_HAVE_RTMIDI
int IndexOf(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  std::fprintf(stderr, "output \"%s\" is not listed; the outputs are:\n", name.c_str());
  for (const std::string& n : names) std::fprintf(stderr, "  %s\n", n.c_str());
  return -1;
}

int Send(const std::string& appPath, const std::string& output) {
  AppState state;
  SelectFixedRecord(state, appPath);
  const auto port = MakeSystemMidiPort("CadenzoProbe");
  state.MidiDeviceIndex = IndexOf(port->OutputNames(), output);
  if (state.MidiDeviceIndex < 0) return 3;
  state.MidiDeviceName = output;
  PrintingDialogs dialogs;
  InstrumentLink link(*port);
  SetPSR(state, dialogs, link);
  if (link.MidiFileHandle() != nullptr) link.MidiFileHandle()->WaitUntilIdle();
  // The output hands messages on in the service's own cycles; on a loaded machine the last
  // ones may still wait for one when playing ends.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  link.Free();
  return dialogs.shown > 0 ? 1 : 0;
}

int Window(int argc, char** argv) {
  QApplication qapp(argc, argv);
  AppState state;
  PrintingDialogs dialogs;
  MidiConnection connection(state, dialogs, nullptr);
  MidiDeviceWindow& window = connection.ShowMidiDeviceWindow();
  QComboBox* list = window.DeviceList();
  for (int i = 0; i < list->count(); ++i) std::printf("%s\n", list->itemText(i).toUtf8().data());
  if (argc > 2) {
    if (argc > 3) list->setCurrentIndex(list->findText(QString::fromUtf8(argv[3])));
    // The window with its list dropped down beneath it.
    list->showPopup();
    qapp.processEvents();
    const QPixmap top = window.grab();
    QWidget* popup = list->view()->window();
    const QPixmap drop = popup != &window ? popup->grab() : QPixmap();
    const QPoint at = list->mapTo(&window, QPoint(0, list->height()));
    QPixmap picture(top.width(), std::max(top.height(), at.y() + drop.height()));
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, top);
    if (!drop.isNull()) painter.drawPixmap(at, drop);
    painter.end();
    if (!picture.save(QString::fromUtf8(argv[2]))) return 1;
  }
  return 0;
}
#endif

}  // namespace
}  // namespace cadenzo

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 3 && args[0] == "write") return cadenzo::Write(args[1], args[2]);
#ifdef CADENZO_HAVE_RTMIDI
    if (args.size() == 3 && args[0] == "send") return cadenzo::Send(args[1], args[2]);
    if (!args.empty() && args.size() <= 3 && args[0] == "window")
      return cadenzo::Window(argc, argv);
#else
    if (!args.empty() && (args[0] == "send" || args[0] == "window")) {
      std::printf("built without the system's MIDI outputs\n");
      return 77;
    }
#endif
  } catch (const std::exception& e) {
    std::fprintf(stderr, "midi_send_probe: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "usage: midi_send_probe write|send|window ...\n");
  return 2;
}
