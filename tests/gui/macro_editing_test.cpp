// Making and changing library macros through the real widgets of the Macro
// page: the library commands with the name dialog, the event editor's delete
// and insert panel, recording from a scripted input, and refused files.
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>
#include <QtTest>

#include "core/common/file_io.h"
#include "core/library/library_files.h"
#include "core/macros/macro_lines.h"
#include "editor_rig.h"
#include "gui/pages/macro_event_list.h"
#include "gui/pages/macro_library_list.h"
#include "gui/pages/macro_name_dialog.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/macro_recorder_panel.h"
#include "gui/record_input.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;

// Keys and buttons as a test script sends them.
class ScriptedInput final : public RecordInput {
 public:
  bool Start() override { return running = true; }
  void Stop() override { running = false; }
  bool Global() const override { return global; }
  void Key(int scan, bool down, quint32 t) { Q_EMIT key(scan, down, t); }
  void Button(int number, bool down, quint32 t) { Q_EMIT button(number, down, t); }
  bool running = false;
  bool global = true;
};

// A list of Latin-1 texts.
QStringList Texts(std::initializer_list<const char*> texts) {
  QStringList list;
  for (const char* t : texts) list.append(QLatin1String(t));
  return list;
}

constexpr int kScanA = 30;
constexpr int kScanLeftCtrl = 29;
constexpr int kScanC = 46;

struct Rig : EditorRig {
  Rig() {
    Click(QStringLiteral("Btn_Macro_1"));
    auto input = std::make_unique<ScriptedInput>();
    keys = input.get();
    Page()->Recorder().SetInput(std::move(input));
  }
  MacroPage* Page() { return Window().Macros(); }
  // The library file as written.
  PcMacroLibrary FileLibrary() const {
    PcMacroLibrary lib;
    const auto bytes = ReadWholeFile(LibraryPath().toStdString());
    if (bytes) lib.Load(*bytes);
    return lib;
  }
  QStringList Lines() const {
    QStringList lines;
    auto* list = Get<QListWidget>(QStringLiteral("LB_macro"));
    for (int i = 0; i < list->count(); ++i)
      lines.append(list->item(i)->data(kMacroLineRole).toString());
    return lines;
  }
  // Right-clicks row `row` of `list` and picks `command` in the pop-up.
  void Command(const char* list, int row, const char* command) {
    ClickRow(QLatin1String(list), row, Qt::RightButton);
    Click(QLatin1String(command));
  }
  // Types `name` into the open name dialog and confirms it.
  void Name(const QString& name) {
    MacroNameDialog* dialog = Page()->LibraryList().NameDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->size(), QSize(354, 179));
    QTest::keyClicks(dialog->Edit(), name);
    auto* confirm = dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
    QTest::mouseClick(confirm, Qt::LeftButton, {}, confirm->rect().center());
  }
  ScriptedInput* keys = nullptr;
};

}  // namespace

class MacroEditingTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The name dialog holds every name to the core's one rule: a refused name
  // says why and changes nothing.
  void refusedNamesChangeNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("says");
    QTest::newRow("three spaces") << QStringLiteral("   ") << QStringLiteral("cannot be blank");
    QTest::newRow("right-to-left override")
        << QString::fromUtf16(u"ab\u202Ecd") << QStringLiteral("text-direction");
    QTest::newRow("escape") << QStringLiteral("a\x1b[2J") << QStringLiteral("control characters");
    QTest::newRow("half a surrogate pair")
        << QString(QChar(0xD800)) + QStringLiteral("a") << QStringLiteral("well-formed");
  }
  void refusedNamesChangeNothing() {
    QFETCH(QString, name);
    QFETCH(QString, says);
    Rig rig;
    const Bytes before = ReadWholeFile(rig.LibraryPath().toStdString()).value();
    for (const char* command : {"Btn_NewMacro", "Btn_NewName"}) {
      rig.dialogs.messages.clear();
      rig.Command("LB_PCMacroName", 0, command);
      MacroNameDialog* dialog = rig.Page()->LibraryList().NameDialog();
      QVERIFY2(dialog, command);
      dialog->Edit()->setText(name);  // as an input method could put it there
      auto* confirm = dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
      QTest::mouseClick(confirm, Qt::LeftButton, {}, confirm->rect().center());
      QCOMPARE(rig.dialogs.messages.size(), 1);
      QVERIFY2(rig.dialogs.messages[0].contains(says), qPrintable(rig.dialogs.messages[0]));
      QCOMPARE(rig.Rows(QStringLiteral("LB_PCMacroName")).size(), 23);
      QCOMPARE(ReadWholeFile(rig.LibraryPath().toStdString()).value(), before);
    }
  }

  // A longer text pasted into the field is refused whole, never cut to its
  // first eight characters.
  void aLongerNameIsNotCut() {
    Rig rig;
    rig.Command("LB_PCMacroName", 0, "Btn_NewMacro");
    QLineEdit* edit = rig.Page()->LibraryList().NameDialog()->Edit();
    edit->insert(QStringLiteral("Walking8X"));
    QCOMPARE(edit->text(), QString());
    edit->insert(QStringLiteral("Walking8"));
    QCOMPARE(edit->text(), QStringLiteral("Walking8"));
  }

  void newRenameAndDeleteThroughTheNameDialog() {
    Rig rig;
    QCOMPARE(rig.Rows(QStringLiteral("LB_PCMacroName")).size(), 23);
    rig.Command("LB_PCMacroName", 0, "Btn_NewMacro");
    rig.Name(QStringLiteral("Sprint-long"));  // at most 8 characters are taken
    QStringList rows = rig.Rows(QStringLiteral("LB_PCMacroName"));
    QCOMPARE(rows.size(), 24);
    QCOMPARE(rows.last(), QStringLiteral("Sprint-l"));
    QCOMPARE(rig.FileLibrary().MacroText(23), std::string("Sprint-l"));
    QCOMPARE(rig.FileLibrary().EventLength(23), std::size_t{1});

    // A name that exists is refused with the message; nothing changes.
    const Bytes before = ReadWholeFile(rig.LibraryPath().toStdString()).value();
    rig.Command("LB_PCMacroName", 2, "Btn_NewName");
    rig.Name(QString::fromStdString(rig.Page()->Library().MacroText(0)));
    QCOMPARE(rig.dialogs.messages, QStringList{QStringLiteral("This macro already exists")});
    QCOMPARE(ReadWholeFile(rig.LibraryPath().toStdString()).value(), before);

    rig.Command("LB_PCMacroName", 23, "Btn_NewName");
    rig.Name(QStringLiteral("Dash"));
    QCOMPARE(rig.FileLibrary().MacroText(23), std::string("Dash"));

    rig.Command("LB_PCMacroName", 1, "Btn_DelPCMacro");
    rows = rig.Rows(QStringLiteral("LB_PCMacroName"));
    QCOMPARE(rows.size(), 23);
    QCOMPARE(rows.last(), QStringLiteral("Dash"));
    QCOMPARE(rig.Get<QListWidget>(QStringLiteral("LB_PCMacroName"))->currentRow(), 0);
    QCOMPARE(rig.FileLibrary().Count(), std::size_t{23});
  }

  void deleteAndInsertEvents() {
    Rig rig;
    rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0);
    const QStringList before = rig.Lines();
    QVERIFY(before.size() >= 2);
    QVERIFY(before[0].startsWith(QLatin1Char('1')));  // a press ...

    // Delete of a press takes its release with it.
    rig.Command("LB_macro", 0, "Btn_Del");
    const QStringList after = rig.Lines();
    QCOMPARE(after.size(), before.size() - 2);
    MacroLines lines{"10"};
    for (const QString& l : after) lines.push_back(l.toStdString());
    const PcMacroLibrary written = rig.FileLibrary();
    const auto& events = written.Slot(0).events;
    const Bytes encoded = EncodeMacroLines(lines);
    QVERIFY(std::equal(encoded.begin(), encoded.end(), events.begin()));

    // Insert a 300 ms delay before event 0, then an X move of -5 after it.
    rig.Command("LB_macro", 0, "Btn_Insert");
    QVERIFY(rig.W(QStringLiteral("Gb_Insert"))->isVisible());
    QVERIFY(!rig.W(QStringLiteral("LB_MacroName"))->isEnabled());
    auto* delay = rig.Get<QLineEdit>(QStringLiteral("Edt_InsertDelay"));
    delay->setText(QStringLiteral("300"));
    rig.Click(QStringLiteral("Btn_OK"));
    QCOMPARE(rig.Lines().first(), QStringLiteral("0 300"));
    QVERIFY(!rig.W(QStringLiteral("Gb_Insert"))->isVisible());

    rig.Command("LB_macro", 0, "Btn_Insert");
    rig.Get<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(5);  // X axis back
    rig.Get<QLineEdit>(QStringLiteral("edt_XAxisValue"))->setText(QStringLiteral("-5"));
    rig.Click(QStringLiteral("Btn_OK"));
    QCOMPARE(rig.Lines()[1], QStringLiteral("4 04FB0021"));
    const PcMacroLibrary again = rig.FileLibrary();
    const auto& stored = again.Slot(0).events;
    QCOMPARE(Bytes(stored.begin(), stored.begin() + 7),
             (Bytes{0xFE, 0x01, 0x2C, 0x04, 0xFB, 0x00, 0x21}));

    // Cancel leaves the macro as it was.
    const QStringList kept = rig.Lines();
    rig.Command("LB_macro", 2, "Btn_Insert");
    rig.Click(QStringLiteral("Btn_Cancel"));
    QCOMPARE(rig.Lines(), kept);
  }

  void recordingReplacesTheMacroAndInsertRecordingAddsKeys() {
    Rig rig;
    rig.ClickRow(QStringLiteral("LB_PCMacroName"), 3);
    rig.Click(QStringLiteral("Btn_Start"));
    QVERIFY(rig.keys->running);
    QCOMPARE(rig.Text(QStringLiteral("Btn_Start")), QStringLiteral("Stop"));
    QVERIFY(!rig.W(QStringLiteral("LB_PCMacroName"))->isEnabled());
    rig.keys->Key(kScanLeftCtrl, true, 1000);
    rig.keys->Key(kScanC, true, 1120);
    rig.keys->Key(kScanC, true, 1150);  // auto-repeat
    rig.keys->Key(kScanC, false, 1200);
    rig.keys->Key(kScanLeftCtrl, false, 1210);
    rig.keys->Button(3, true, 1300);
    rig.keys->Button(3, false, 1310);
    QCOMPARE(rig.Get<QListWidget>(QStringLiteral("LB_macro"))->count(), 11);
    rig.Click(QStringLiteral("Btn_Start"));
    QVERIFY(!rig.keys->running);
    const QStringList expected =
        Texts({"1 Ctrl CODE:8101", "0 120", "1 C CODE:8206", "0 80", "2 C CODE:0206", "0 10",
               "2 Ctrl CODE:0101", "0 90", "1 RightKey CODE:00A2", "0 10", "2 RightKey CODE:0022"});
    QCOMPARE(rig.Lines(), expected);
    const PcMacroLibrary file = rig.FileLibrary();
    const Bytes expected_bytes = {0x81, 0x01, 0xFE, 0x00, 0x78, 0x82, 0x06, 0xFE, 0x00,
                                  0x50, 0x02, 0x06, 0xFE, 0x00, 0x0A, 0x01, 0x01, 0xFE,
                                  0x00, 0x5A, 0xA2, 0xFE, 0x00, 0x0A, 0x22, 0x00};
    QCOMPARE(Bytes(file.Slot(3).events.begin(), file.Slot(3).events.begin() + 26), expected_bytes);
    QCOMPARE(file.EventLength(3), std::size_t{26});

    // Insert recording: A after event 0, kept with OK.
    rig.Command("LB_macro", 0, "Btn_Insert");
    rig.Get<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(3);  // key back
    rig.Click(QStringLiteral("IB_InsertNoDelay"));
    rig.Click(QStringLiteral("Btn_InsertStart"));
    rig.keys->Key(kScanA, true, 5000);
    rig.keys->Key(kScanA, false, 5100);
    rig.Click(QStringLiteral("Btn_InsertStart"));
    rig.Click(QStringLiteral("Btn_OK"));
    QCOMPARE(rig.Lines().mid(0, 3), Texts({"1 Ctrl CODE:8101", "1 A CODE:8204", "2 A CODE:0204"}));
    QCOMPARE(rig.FileLibrary().Slot(3).events[2], std::uint8_t{0x82});
  }

  // The insert panel for every choice: nothing drawn where a hidden field
  // would be, captions beside their fields and whole, the closed choice box
  // readable, everything inside the panel; and while a key is recorded the
  // controls that cannot be used look so.
  void insertPanelLooksFinishedForEveryChoice() {
    Rig rig;
    rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0);
    rig.Command("LB_macro", 0, "Btn_Insert");
    QWidget* panel = rig.W(QStringLiteral("Gb_Insert"));
    auto* choice = rig.Get<QComboBox>(QStringLiteral("CB_Insert"));
    const QPalette& colours = choice->palette();
    QVERIFY2(qAbs(colours.color(QPalette::ButtonText).lightness() -
                  colours.color(QPalette::Button).lightness()) > 100,
             "the closed choice box's text must stand out from its face");
    const char* const fields[] = {"Edt_InsertDelay", "edt_XAxisValue", "edt_YAxisValue",
                                  "edt_Repeat"};
    const char* const captions[] = {"lbl_Delay", "lbl_XAxisValue", "lbl_YAxisValue", "lbl_Repeat"};
    for (int i = 0; i < choice->count(); ++i) {
      choice->setCurrentIndex(i);
      const QString at = choice->itemText(i);
      const QImage shot = rig.Window().grab().toImage();
      auto window_rect = [&](QWidget* w) {
        return QRect(w->mapTo(&rig.Window(), QPoint(0, 0)), w->size());
      };
      for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
          QVERIFY2(panel->rect().contains(child->geometry()),
                   qPrintable(at + QStringLiteral(": ") + child->objectName()));
      for (std::size_t k = 0; k < std::size(fields); ++k) {
        QWidget* field = rig.W(QLatin1String(fields[k]));
        auto* caption = rig.Get<QLabel>(QLatin1String(captions[k]));
        if (field->isVisible()) {
          if (!caption->isVisible()) continue;  // a key choice's delay has no caption
          QVERIFY2(!caption->geometry().intersects(field->geometry()), qPrintable(at));
          QVERIFY2(caption->heightForWidth(caption->width()) <= caption->height(),
                   qPrintable(at + QStringLiteral(": ") + caption->text()));
          for (const QString& word : caption->text().split(QLatin1Char(' ')))
            QVERIFY2(caption->fontMetrics().horizontalAdvance(word) <= caption->width(),
                     qPrintable(at + QStringLiteral(": ") + word));
          continue;
        }
        // Where a hidden field sits and no shown one, the panel is bare.
        bool covered = false;
        for (const char* other : fields)
          covered =
              covered || (rig.W(QLatin1String(other))->isVisible() &&
                          rig.W(QLatin1String(other))->geometry().intersects(field->geometry()));
        if (covered) continue;
        const QRect place = window_rect(field);
        const QRgb bare = shot.pixel(place.topLeft());
        for (int y = place.top(); y <= place.bottom(); ++y)
          for (int x = place.left(); x <= place.right(); ++x)
            if (shot.pixel(x, y) != bare)
              QFAIL(qPrintable(at + QStringLiteral(": something drawn where the hidden ") +
                               QLatin1String(fields[k]) + QStringLiteral(" is")));
      }
    }

    choice->setCurrentIndex(2);  // key front
    rig.Click(QStringLiteral("Btn_InsertStart"));
    QVERIFY(rig.Page()->Recorder().Recording());
    for (const char* name :
         {"CB_Insert", "Img_OK", "Btn_OK", "Img_Cancel", "Btn_Cancel", "Edt_InsertDelay",
          "LED_InsertRecDelay", "IB_InsertRecDelay", "LED_InsertDelayTime", "IB_InsertDelayTime",
          "LED_InsertNoDelay", "IB_InsertNoDelay"}) {
      QWidget* w = rig.W(QLatin1String(name));
      QVERIFY2(!w->isEnabled() && w->graphicsEffect(), name);
    }
    rig.Click(QStringLiteral("Btn_InsertStart"));
    QVERIFY(rig.W(QStringLiteral("Btn_OK"))->isEnabled());
    QVERIFY(!rig.W(QStringLiteral("Btn_OK"))->graphicsEffect());
  }

  // Without X11 the recorder takes what reaches the editor's window, also
  // the keys the focused event list takes and the clicks on it (an insert
  // recording leaves that list usable).
  void windowInputRecordsWhatAFocusedListTakes() {
    Rig rig;
    rig.Page()->Recorder().SetInput(MakeWindowRecordInput());
    rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0);
    rig.Command("LB_macro", 0, "Btn_Insert");
    rig.Get<QComboBox>(QStringLiteral("CB_Insert"))->setCurrentIndex(3);  // key back
    rig.Click(QStringLiteral("IB_InsertNoDelay"));
    rig.Click(QStringLiteral("Btn_InsertStart"));
    QVERIFY(rig.Page()->Recorder().Recording());
    auto* list = rig.Get<QListWidget>(QStringLiteral("LB_macro"));
    QVERIFY(list->isEnabled());
    rig.Window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.Window()));
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    QWindow* window = rig.Window().windowHandle();
    QVERIFY(window);
    // As the window system delivers them: to the window, with the key's
    // place on the keyboard (evdev code + 8).
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent key(type, Qt::Key_A, {}, kScanA + 8, 0x61, 0, QStringLiteral("a"));
      QCoreApplication::sendEvent(window, &key);
      if (type == QEvent::KeyPress) QVERIFY(key.isAccepted());  // the list took it
    }
    QTest::mouseClick(window, Qt::LeftButton, {},
                      list->mapTo(&rig.Window(), list->rect().center()));
    rig.Click(QStringLiteral("Btn_InsertStart"));
    rig.Click(QStringLiteral("Btn_OK"));
    QCOMPARE(rig.Lines().mid(1, 4), Texts({"1 A CODE:8204", "2 A CODE:0204", "1 LeftKey CODE:00A1",
                                           "2 LeftKey CODE:0021"}));
  }

  void windowOnlyInputSaysSo() {
    Rig rig;
    auto input = std::make_unique<ScriptedInput>();
    input->global = false;
    rig.Page()->Recorder().SetInput(std::move(input));
    QVERIFY(rig.W(QStringLiteral("lbl_RecordScope"))->isVisible());
    QCOMPARE(rig.Text(QStringLiteral("lbl_RecordScope")),
             QStringLiteral("records while this window has the focus"));
    // Whole, beside the record button: clear of it and of the delay options.
    auto* note = rig.Get<QLabel>(QStringLiteral("lbl_RecordScope"));
    QVERIFY(note->height() >= note->heightForWidth(note->width()));
    for (const char* other : {"Btn_Start", "Img_Start", "Gb_Delay"})
      QVERIFY2(!note->geometry().intersects(rig.W(QLatin1String(other))->geometry()), other);
    QVERIFY(note->geometry().right() < note->parentWidget()->width());
  }

  void filesOfTheWrongKindAreRefused() {
    Rig rig;
    const Bytes before = ReadWholeFile(rig.LibraryPath().toStdString()).value();
    const QString one = rig.dir.filePath(QStringLiteral("one"));
    rig.dialogs.save_answers.push_back(one);
    rig.Command("LB_PCMacroName", 0, "Btn_ExportOne");
    QCOMPARE(QFileInfo(one + QStringLiteral(".bin")).size(), 272);

    rig.dialogs.open_answers.push_back(one + QStringLiteral(".bin"));
    rig.Command("LB_PCMacroName", 0, "Btn_Import");  // a single macro is no library
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages[0].contains(QStringLiteral("27200")));
    QCOMPARE(ReadWholeFile(rig.LibraryPath().toStdString()).value(), before);

    rig.dialogs.open_answers.push_back(one + QStringLiteral(".bin"));
    rig.Command("LB_PCMacroName", 0, "Btn_ImportOne");  // a macro of that name exists
    QCOMPARE(rig.dialogs.messages.last(), QStringLiteral("This macro already exists"));
    QCOMPARE(ReadWholeFile(rig.LibraryPath().toStdString()).value(), before);

    // Export One over an existing file asks first.
    rig.dialogs.save_answers.push_back(one);
    rig.dialogs.confirm_answers.push_back(false);
    rig.Command("LB_PCMacroName", 1, "Btn_ExportOne");
    QCOMPARE(rig.dialogs.questions.size(), 1);
    QCOMPARE(rig.dialogs.filters.last(), kSaveFileFilter);
  }
};

KORVEX48_GUI_TEST(MacroEditingTest)

}  // namespace korvex48::gui

#include "macro_editing_test.moc"
