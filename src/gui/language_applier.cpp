#include "gui/language_applier.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <utility>

#include "gui/control_index.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {
namespace {

// Label -> language key, for every control with one fixed text.
constexpr std::pair<const char*, const char*> kFixedTexts[] = {
    {"Key_Standard", "Str201"},      {"Key_Special", "Str202"},    {"Key_Media", "Str203"},
    {"Key_WWW", "Str204"},           {"Key_Assembly", "Str205"},   {"Key_Macro", "Str206"},
    {"Key_MyPC", "Str207"},          {"Key_Left", "Str210"},       {"Key_Right", "Str211"},
    {"Key_Middle", "Str212"},        {"Key_B4", "Str213"},         {"Key_B5", "Str214"},
    {"Key_Fire", "Str230"},          {"Key_Fire1", "Str231"},      {"Key_Fire2", "Str232"},
    {"Key_Fire3", "Str233"},         {"Key_AIM", "Str234"},        {"Key_LEDSwitch", "Str241"},
    {"Key_Profile", "Str242"},       {"Key_CPI", "Str243"},        {"Key_ReportRate", "Str244"},
    {"Key_Default", "Str245"},       {"Key_LEDMode", "Str246"},    {"Key_CPII", "Str247"},
    {"Key_CPID", "Str248"},          {"Key_PlayPause", "Str250"},  {"Key_Stop", "Str251"},
    {"Key_PreviousTrack", "Str252"}, {"Key_NextTrack", "Str253"},  {"Key_VolumePlus", "Str254"},
    {"Key_VolumeMinus", "Str255"},   {"Key_Mute", "Str256"},       {"Key_WWWHome", "Str260"},
    {"Key_WWWSearch", "Str261"},     {"Key_WWWBack", "Str262"},    {"Key_WWWForward", "Str263"},
    {"Key_WWWStop", "Str264"},       {"Key_WWWRefresh", "Str265"}, {"Key_WWWFavorites", "Str266"},
    {"Key_Computer", "Str270"},      {"Key_Calculator", "Str271"}, {"Key_EMail", "Str272"},
    {"Key_Desktop", "Str273"},
};

// Function-menu items get " * text" (blank, Str200, blank, text).
constexpr int kMenuItems = 43;

constexpr std::pair<const char*, const char*> kPageTexts[] = {
    {"Btn_Start", "Str400"},      {"Btn_InsertStart", "Str400"}, {"Btn_NewName", "Str402"},
    {"Btn_ExportOne", "Str404"},  {"Btn_Export", "Str405"},      {"Btn_DevExport", "Str405"},
    {"Btn_ImportOne", "Str406"},  {"Btn_Import", "Str407"},      {"Btn_Del", "Str408"},
    {"Btn_Insert", "Str409"},     {"lbl_Delay", "Str417"},       {"lbl_s_A", "Str418"},
    {"Btn_OK", "Str420"},         {"Btn_Cancel", "Str422"},      {"Btn_NewMacro", "Str432"},
    {"Btn_DelMacro", "Str433"},   {"Btn_DelPCMacro", "Str433"},  {"Btn_AddMacro", "Str434"},
    {"lbl_XAxisValue", "Str454"}, {"lbl_YAxisValue", "Str455"},  {"lbl_Repeat", "Str458"},
    {"Btn_LoadBIN", "Str440"},    {"Btn_Program", "Str441"},     {"lbl_BINPath", "Str442"},
};

// Seven blanks keep these texts clear of the option mark drawn at their left.
// The recorder's own delay rows show the same three choices as the insert
// panel's, so they take the same texts.
constexpr std::pair<const char*, const char*> kOptionTexts[] = {
    {"IB_RecDelay", "Str414"},        {"IB_DelayTime", "Str415"},
    {"IB_NoDelay", "Str416"},         {"IB_InsertRecDelay", "Str414"},
    {"IB_InsertDelayTime", "Str415"}, {"IB_InsertNoDelay", "Str416"},
};

constexpr std::pair<const char*, const char*> kNavigationTexts[] = {
    {"Reset", "Str002"}, {"Exit", "Str003"},   {"Main", "Str004"},   {"Switch", "Str005"},
    {"Fixed", "Str006"}, {"Adv", "Str007"},    {"Breath", "Str008"}, {"Save", "Str009"},
    {"Load", "Str010"},  {"Lang1", "Str011"},  {"Lang2", "Str012"},  {"Lang3", "Str013"},
    {"Macro", "Str014"}, {"Update", "Str015"},
};

constexpr const char* kInsertChoices[] = {"Str410", "Str411", "Str412", "Str413", "Str450",
                                          "Str451", "Str452", "Str453", "Str456", "Str457"};

void SetText(const ControlIndex& controls, const QString& name, const QString& text) {
  auto* label = controls.Get<QLabel>(name);
  if (auto* text_label = qobject_cast<TextLabel*>(label))
    text_label->setText(text);  // without QLabel's text document
  else if (label)
    label->setText(text);
}

}  // namespace

void ApplyLanguage(const LanguageSet& languages, int index, const ControlIndex& controls) {
  const LanguageTable& table = languages.Get(index);
  auto text = [&](const char* key) { return QString::fromStdString(table.Text(key)); };

  for (int n = 1; n <= 5; ++n)
    for (const auto& [name, key] : kNavigationTexts)
      SetText(controls, QStringLiteral("Btn_%1_%2").arg(QLatin1String(name)).arg(n), text(key));

  const QString mark = text("Str200");
  static_assert(std::size(kFixedTexts) == kMenuItems);
  for (const auto& [name, key] : kFixedTexts)
    SetText(controls, QLatin1String(name),
            QStringLiteral(" ") + mark + QStringLiteral(" ") + text(key));

  for (const auto& [name, key] : kPageTexts) SetText(controls, QLatin1String(name), text(key));
  for (const auto& [name, key] : kOptionTexts)
    SetText(controls, QLatin1String(name), QStringLiteral("       ") + text(key));

  if (auto* box = controls.Get<QComboBox>(QStringLiteral("CB_Insert"))) {
    const int selected = box->currentIndex();
    int i = 0;
    for (const char* key : kInsertChoices) {
      if (i < box->count())
        box->setItemText(i, text(key));
      else
        box->addItem(text(key));
      ++i;
    }
    box->setCurrentIndex(selected);
  }
}

}  // namespace korvex48::gui
