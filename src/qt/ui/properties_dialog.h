// frmProps, "Quasarine Properties": edits every setting except the Advanced and SoundFX sections
// (their own dialogs, reached from the Edit and Effect menus), offers the themes and template
// files, shows a live preview of the values, and writes the store only on Accept, in one commit.
// Every field is reached by its key: findChild<QLineEdit*>("FireWorks"), and lists and check
// boxes likewise; Texts() and SetTexts() give and take all of them at once.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <map>
#include <string>
#include <string_view>

#include "qt/ui/form_hooks.h"
#include "settings/template_fields.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace qsrn {

class GalaxyProfileView;
class LivePreview;
class NumericField;

class PropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  // Form_Load: fills the lists, writes the factory set on the first start, loads the store.
  // hooks: the forms its menus open (disabled where empty).
  explicit PropertiesDialog(SettingsStore& store, QWidget* parent = nullptr,
                            PropertiesFormHooks hooks = MakeFormHooks(nullptr));
  ~PropertiesDialog() override;

  // What every field shows, by key; and putting texts into the fields as a template does.
  FieldTexts Texts() const;
  void SetTexts(const FieldTexts& texts);

  // LoadProperties, ResetProperties (without the question), SaveProperties (false: the store
  // refused; the user has been told).
  void LoadProperties();
  void ResetProperties();
  bool SaveProperties();

  // ReadTemplate / WriteTemplate on file; false when nothing was read or written (the user has
  // been told and the fields are unchanged).
  bool ReadTemplate(const QString& file);
  bool WriteTemplate(const QString& file);
  const QString& CurrentTemplate() const { return currentTemplate_; }

  // A theme pick (1..13 fireworks, 1..16 galaxies); 0 changes nothing.
  void ApplyTheme(SectionId effect, int theme);
  void SelectEffect(int effect);

  // Set by File "Exit": the windowed display ends too.
  bool ExitRequested() const { return exitRequested_; }
  LivePreview* Preview() const { return preview_; }

 public slots:
  // Accept: range-checks the field being edited, saves, closes; stays open when saving failed.
  void accept() override;

 signals:
  void exitRequested();

 private:
  struct Row {
    const char* key;
    const char* caption;
  };

  // Layout (properties_layout.cpp).
  void BuildForm();
  QWidget* BuildSharedFrames();
  QWidget* BuildFireworks();
  QWidget* BuildStarfield();
  QWidget* BuildWarp();
  QWidget* BuildSparklers();
  QWidget* BuildGravity();
  QWidget* BuildGalaxies();
  void BuildMenus();
  QGroupBox* Frame(const QString& title, std::initializer_list<Row> rows, QFormLayout** form = nullptr);
  void AddRows(QFormLayout* form, std::initializer_list<Row> rows);
  QComboBox* AddList(QFormLayout* form, const char* key, const QString& caption, const QStringList& items);
  QStackedWidget* Extras(QFormLayout* form, const QString& name, std::initializer_list<QWidget*> pages);

  // Behaviour.
  void OnFieldEdited(std::string_view key);
  void ApplyCrossFieldRules(std::string_view key);
  void SetNumber(std::string_view key, double value);
  double Number(std::string_view key) const;
  void RepaintSwatches();
  void SchedulePreview();
  void OpenTemplate();
  void SaveTemplate(bool askForName);
  void AskResetProperties();
  void Exclaim(const QString& sentence);

  SettingsStore& store_;
  PropertiesFormHooks hooks_;
  QString currentTemplate_;
  bool changeGuard_ = false;
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
