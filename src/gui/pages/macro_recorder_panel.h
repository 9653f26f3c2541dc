#pragma once
// The recorder of the Macro page: the record button Btn_Start (with its
// picture Img_Start) and the delay options Gb_Delay with Edt_Delay. A whole
// recording replaces the events of the selected library macro; an insert
// recording (Btn_InsertStart of the insert panel) puts the recorded events
// before or after the selected event. The rules are the core's recorder;
// the keys and buttons come from a RecordInput, on the GUI thread.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <functional>
#include <memory>

#include "core/macros/macro_recorder.h"
#include "gui/editor_context.h"
#include "gui/record_input.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {

class MacroEventEditor;

class MacroRecorderPanel final : public QObject {
  Q_OBJECT

 public:
  // `library_row` gives the selected library row (-1 for none).
  MacroRecorderPanel(EditorContext& context, QWidget* page, MacroEventEditor& editor,
                     std::function<int()> library_row);
  ~MacroRecorderPanel() override;

  // Replaces the input (tests feed a fake one); takes effect at the next
  // recording.
  void SetInput(std::unique_ptr<RecordInput> input);
  RecordInput* Input();

  bool Recording() const { return recorder_.Recording(); }
  const MacroRecorder& Recorder() const { return recorder_; }

  // A click on Btn_Start or Btn_InsertStart: start or stop.
  void ToggleWhole();
  void ToggleInsert();
  // Stops whatever recording runs (the page is left, the mouse goes).
  // `by_input`: a key or click of the user's stops it, which is not recorded.
  void StopAny(bool by_input = true);

  // Lights a delay option (0 recorded, 1 fixed, 2 none).
  void SetDelayMode(int mode);
  int DelayMode() const { return delay_mode_; }
  // Shows the delay mode a macro's header gives.
  void ShowHeader(const DelayHeader& header);

  void SetEnabled(bool enabled);
  void ShowDelayBox(bool shown);
  void ApplyLayout(const LayoutTable& t);

 Q_SIGNALS:
  void recordingChanged(bool recording);

 private:
  void Start(bool insert);
  // `by_input`: stopped by a key or click of the user's (StopByLastPress).
  void Stop(bool by_input = true);
  void OnKey(int scan_code, bool down, quint32 time_ms);
  void OnButton(int number, bool down, quint32 time_ms);
  void Apply(const RecordStep& step);
  bool PointerOverRecordButton() const;
  RecorderSettings Settings(bool insert) const;

  EditorContext& ctx_;
  MacroEventEditor& editor_;
  std::function<int()> library_row_;
  PictureLabel* start_picture_;
  TextLabel* start_;
  QGroupBox* delay_box_;
  QLineEdit* delay_edit_;
  QLabel* scope_;  // says when only this window's input is recorded
  std::unique_ptr<RecordInput> input_;
  MacroRecorder recorder_;
  bool insert_ = false;
  int delay_mode_ = 0;
};

}  // namespace korvex48::gui
