// frmProps, "Quasarine Properties": the Qt view of the properties form (forms/properties_form.h),
// which holds every field's text, the rules and the operations. Pages are built from the form's
// tables; each widget is bound to its key (findChild<QLineEdit*>("FireWorks"), lists and check
// boxes likewise): the user's edits go to the form, the form's own changes come back to the
// widgets, and the enable states follow the form. The Advanced and SoundFX sections have their
// own dialogs, reached from the Edit and Effect menus; a live preview runs the values shown.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/properties_form.h"
#include "forms/properties_pages.h"
#include "qt/ui/form_hooks.h"

class QAction;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLayout;
class QMenuBar;
class QPushButton;
class QStackedWidget;

namespace qsrn {

class GalaxyProfileView;
class LivePreview;

class PropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  // Fills the lists, opens the form (the factory set on the first start) and shows it.
  // hooks: the forms its menus open (disabled where empty).
  explicit PropertiesDialog(SettingsStore& store, QWidget* parent = nullptr,
                            PropertiesFormHooks hooks = MakeFormHooks(nullptr));
  ~PropertiesDialog() override;

  PropertiesForm& Form() { return form_; }
  void SelectEffect(EffectIndex effect) { form_.SelectEffect(effect); }

  // Set by File "Exit": the windowed display ends too.
  bool ExitRequested() const { return exitRequested_; }
  LivePreview* Preview() const { return preview_; }

 public slots:
  // Accept: range-checks the field being edited, saves, closes; stays open when saving failed.
  void accept() override;

 signals:
  void exitRequested();

 private:
  // Layout (properties_layout.cpp).
  void BuildForm();
  QWidget* BuildSharedFrames();
  QWidget* BuildMessageFrame();
  QWidget* BuildFireworks();
  QWidget* BuildStarfield();
  QWidget* BuildWarp();
  QWidget* BuildSparklers();
  QWidget* BuildGravity();
  QWidget* BuildGalaxies();
  QGroupBox* BuildGalaxyShape();
  QLayout* BuildPreviewAndButtons();
  void BuildMenus();
  void BuildFileMenu(QMenuBar* bar);
  void BuildEffectMenu(QMenuBar* bar);
  QGroupBox* Frame(PropertiesFrame frame, QFormLayout** form = nullptr, bool withRows = true);
  void AddRows(QFormLayout* form, std::span<const FieldRow> rows);
  QComboBox* AddList(QFormLayout* form, const char* key, const QString& caption, const QStringList& items);
  QComboBox* AddThemeList(QFormLayout* form, SectionId effect);
  QStackedWidget* Extras(QFormLayout* form, const QString& name, const std::vector<QWidget*>& pages);
  void Bind(std::string_view key, QWidget* control);

  // Between the widgets and the form (properties_dialog.cpp).
  void UserEdited(std::string_view key, const std::string& text);
  void ShowField(std::string_view key);
  void ShowEffect();
  void RepaintSwatches();
  void SchedulePreview();
  void OpenTemplate();
  void SaveTemplate(bool saveAs);
  void AskResetProperties();
  void Report(const FormOutcome& outcome);
  void Exclaim(const std::string& sentence);

  SettingsStore& store_;
  PropertiesFormHooks hooks_;
  PropertiesForm form_;
  bool syncing_ = false;  // set while a widget shows what the form says, so it is not an edit
  bool loading_ = false;
  bool exitRequested_ = false;

  std::map<std::string, QWidget*, std::less<>> controls_;  // key -> line edit, check box or list
  QComboBox* cboAniType_ = nullptr;
  QStackedWidget* fraAni_ = nullptr;
  QGroupBox* fraPixCol_ = nullptr;
  QGroupBox* fraPixelEnh_ = nullptr;
  std::array<QLabel*, 3> picPixHue_{};
  QLabel* picGalHue_ = nullptr;
  GalaxyProfileView* picGalProfile_ = nullptr;
  std::array<QAction*, 6> mnuEffect_{};
  LivePreview* preview_ = nullptr;
  QPushButton* cmdAccept_ = nullptr;
};

}  // namespace qsrn
