// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/midi_device_window.h"

#include <QLabel>
#include <QLayout>

#include "midi/midi_device_choice.h"
#include "ui_frm_midi_device.h"

namespace cadenzo {

MidiDeviceWindow::MidiDeviceWindow(AppState& state, MidiPort& port, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmMidiDevice>()), state_(state), port_(port) {
  ui_->setupUi(this);
  setModal(false);
  setupMidiDevice();
  connect(ui_->cboMidiDevice, &QComboBox::currentIndexChanged, this,
          &MidiDeviceWindow::cboMidiDevice_Click);
  connect(ui_->cmkOk, &QPushButton::clicked, this, &MidiDeviceWindow::cmkOk_Click);
}

MidiDeviceWindow::~MidiDeviceWindow() = default;

QComboBox* MidiDeviceWindow::DeviceList() { return ui_->cboMidiDevice; }

void MidiDeviceWindow::setupMidiDevice() {
  ui_->cboMidiDevice->clear();
  for (const ComboEntry& entry : MidiDeviceEntries(port_)) {
    // Device names are the system's text, not Windows-1252.
    ui_->cboMidiDevice->addItem(QString::fromStdString(entry.text), entry.data);
  }
  ui_->cboMidiDevice->setCurrentIndex(-1);
  // With no output to choose, the window says why and what to do instead of an empty list.
  const bool none = ui_->cboMidiDevice->count() == 0;
  if (none && noDevice_ == nullptr) {
    noDevice_ = new QLabel(QString::fromUtf8(kNoMidiOutputText), ui_->Frame5);
    noDevice_->setObjectName(QStringLiteral("lblNoDevice"));
    noDevice_->setWordWrap(true);
    ui_->Frame5->layout()->addWidget(noDevice_);
  }
  if (noDevice_ != nullptr) noDevice_->setVisible(none);
  ui_->cboMidiDevice->setVisible(!none);
}

void MidiDeviceWindow::cboMidiDevice_Click(int listIndex) {
  ChooseMidiDevice(
      state_, listIndex,
      listIndex < 0 ? std::string() : ui_->cboMidiDevice->itemText(listIndex).toStdString());
}

void MidiDeviceWindow::cmkOk_Click() { hide(); }

}  // namespace cadenzo
