// The layout of the properties dialog: the shared frames, one frame per effect with its
// "Extras:" sub-frames, the preview, the buttons and the four menus. Frames, rows and list items
// come from the form's tables (forms/properties_pages.h); a field's kind, range and step from the
// settings catalogue. Every widget is bound to its key.
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "settings/catalogue.h"
#include "settings/themes.h"
#include "qt/ui/form_hooks.h"
#include "qt/ui/galaxy_profile_view.h"
#include "qt/ui/live_preview.h"
#include "qt/ui/numeric_field.h"
#include "qt/ui/properties_dialog.h"
#include "qt/ui/help_window.h"

namespace qsrn {

namespace {

QString Caption(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QStringList Items(std::span<const std::string_view> items) {
  QStringList list;
  for (const std::string_view item : items) list << Caption(item);
  return list;
}

QLabel* Swatch(QWidget* parent, const char* name) {
  auto* swatch = new QLabel(parent);
  swatch->setObjectName(QString::fromLatin1(name));
  swatch->setFixedSize(24, 16);
  swatch->setFrameShape(QFrame::Box);
  swatch->setAutoFillBackground(true);
  return swatch;
}

// A swatch beside the spinner of a form's row.
void PutBesideField(QFormLayout* form, int row, QLabel* swatch) {
  if (auto* item = form->itemAt(row, QFormLayout::FieldRole); item && item->layout())
    static_cast<QHBoxLayout*>(item->layout())->addWidget(swatch);
}

}  // namespace

void PropertiesDialog::Bind(std::string_view key, QWidget* control) {
  control->setObjectName(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
  controls_.emplace(std::string(key), control);
}

void PropertiesDialog::AddRows(QFormLayout* form, std::span<const FieldRow> rows) {
  for (const FieldRow& row : rows) {
    const DialogKey* d = FindDialogKey(row.key);
    if (d == nullptr) continue;
    const std::string key(d->key->key);
    if (IsCheckKey(*d->key)) {
      // The caption is the row's label, the box sits in the field column.
      auto* box = new QCheckBox(form->parentWidget());
      auto* label = new QLabel(Caption(row.caption), form->parentWidget());
      label->setBuddy(box);
      box->setAccessibleName(label->text().remove(QLatin1Char('&')));
      connect(box, &QCheckBox::toggled, this, [this, key](bool on) { UserEdited(key, on ? "1" : "0"); });
      form->addRow(label, box);
      Bind(key, box);
    } else {
      NumericField* field = AddNumericRow(form, Caption(row.caption), *d->key);
      QLineEdit* edit = field->edit();
      connect(field, &NumericField::edited, this, [this, key, edit] { UserEdited(key, edit->text().toStdString()); });
      Bind(key, edit);
    }
  }
}

QGroupBox* PropertiesDialog::Frame(PropertiesFrame which, QFormLayout** formOut, bool withRows) {
  const FrameSpec& shown = FrameOf(which);
  auto* frame = new QGroupBox(Caption(shown.title));
  auto* form = new QFormLayout(frame);
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  if (withRows) AddRows(form, shown.rows);
  if (formOut) *formOut = form;
  return frame;
}

QComboBox* PropertiesDialog::AddList(QFormLayout* form, const char* key, const QString& caption,
                                     const QStringList& items) {
  auto* list = new QComboBox(form->parentWidget());
  list->addItems(items);
  if (key != nullptr) {
    Bind(key, list);
    const std::string name(key);
    connect(list, &QComboBox::currentIndexChanged, this, [this, name](int i) { UserEdited(name, std::to_string(i)); });
  }
  if (caption.isEmpty()) {
    form->addRow(list);
  } else {
    auto* label = new QLabel(caption, form->parentWidget());
    label->setBuddy(list);
    form->addRow(label, list);
  }
  return list;
}

// "< NONE >" and the effect's themes; a pick puts the theme's values into the fields.
QComboBox* PropertiesDialog::AddThemeList(QFormLayout* form, SectionId effect) {
  QStringList themes;
  const bool fireworks = effect == SectionId::Fireworks;
  for (int i = 0; i <= (fireworks ? kFireworksThemeCount : kGalaxyThemeCount); ++i)
    themes << (fireworks ? Caption(FireworksThemeName(i)) : QString::fromStdString(GalaxyThemeName(i)));
  QComboBox* theme = AddList(form, nullptr, tr("Theme:"), themes);
  theme->setObjectName(fireworks ? QStringLiteral("cboFireTheme") : QStringLiteral("cboGalaxyTheme"));
  connect(theme, &QComboBox::activated, this, [this, effect](int i) { form_.ApplyTheme(effect, i); });
  return theme;
}

// An "Extras:" list over stacked sub-frames: the chosen one shows and is enabled, the others not.
QStackedWidget* PropertiesDialog::Extras(QFormLayout* form, const QString& name, const std::vector<QWidget*>& pages) {
  QStringList titles;
  auto* stack = new QStackedWidget(form->parentWidget());
  for (QWidget* page : pages) {
    titles << static_cast<QGroupBox*>(page)->title();
    stack->addWidget(page);
  }
  QComboBox* list = AddList(form, nullptr, tr("E&xtras:"), titles);
  list->setObjectName(name);
  // Tab goes from the list into the sub-frame it shows (the frames exist before the list).
  QWidget* previous = list;
  for (QWidget* page : pages)
    for (QWidget* control : page->findChildren<QWidget*>())
      if (control->focusPolicy() & Qt::TabFocus) {
        QWidget::setTabOrder(previous, control);
        previous = control;
      }
  auto choose = [stack](int index) {
    for (int i = 0; i < stack->count(); ++i) stack->widget(i)->setEnabled(i == index);
    stack->setCurrentIndex(index);
  };
  connect(list, &QComboBox::currentIndexChanged, stack, choose);
  choose(0);
  form->addRow(stack);
  return stack;
}

QWidget* PropertiesDialog::BuildSharedFrames() {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* typeForm = new QFormLayout;
  cboAniType_ = new QComboBox(column);
  cboAniType_->setObjectName(QStringLiteral("cboAniType"));
  cboAniType_->addItems(Items(ListItems(AnimationTypeKey().key)));
  auto* typeLabel = new QLabel(tr("Effect &Type:"), column);
  typeLabel->setBuddy(cboAniType_);
  typeForm->addRow(typeLabel, cboAniType_);
  layout->addLayout(typeForm);

  QFormLayout* hueForm = nullptr;
  QGroupBox* hue = Frame(PropertiesFrame::PixelHue, &hueForm);
  const char* names[] = {"picPixHue0", "picPixHue1", "picPixHue2"};
  for (int i = 0; i < 3; ++i) {
    picPixHue_[static_cast<size_t>(i)] = Swatch(hue, names[i]);
    PutBesideField(hueForm, i, picPixHue_[static_cast<size_t>(i)]);
  }
  layout->addWidget(hue);
  fraPixCol_ = Frame(PropertiesFrame::PixelColour);
  fraPixCol_->setObjectName(QStringLiteral("fraPixCol"));
  layout->addWidget(fraPixCol_);
  fraPixelEnh_ = Frame(PropertiesFrame::DisplayEnhancement);
  fraPixelEnh_->setObjectName(QStringLiteral("fraPixelEnh"));
  layout->addWidget(fraPixelEnh_);
  layout->addWidget(Frame(PropertiesFrame::FocalLength));
  layout->addWidget(BuildMessageFrame());
  layout->addStretch(1);
  return column;
}

QWidget* PropertiesDialog::BuildMessageFrame() {
  auto* messageFrame = new QGroupBox(tr("On Screen Message"));
  auto* messageForm = new QFormLayout(messageFrame);
  auto* message = new QLineEdit(messageFrame);
  DropPastedLineBreaks(message);
  connect(message, &QLineEdit::textChanged, this, [this](const QString& text) { UserEdited("LockMessage", text.toStdString()); });
  auto* messageLabel = new QLabel(tr("&Message:"), messageFrame);
  messageLabel->setBuddy(message);
  messageForm->addRow(messageLabel, message);
  Bind("LockMessage", message);
  return messageFrame;
}

QWidget* PropertiesDialog::BuildFireworks() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(PropertiesFrame::Fireworks, &form);
  AddThemeList(form, SectionId::Fireworks);
  std::vector<QWidget*> extras;
  for (const PropertiesFrame sub : FireworksExtras()) extras.push_back(Frame(sub));
  Extras(form, QStringLiteral("cboExtras"), extras);
  return frame;
}

QWidget* PropertiesDialog::BuildStarfield() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(PropertiesFrame::Starfield, &form);
  form->addRow(Frame(PropertiesFrame::Comets));
  form->addRow(Frame(PropertiesFrame::Pattern));
  return frame;
}

QWidget* PropertiesDialog::BuildWarp() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(PropertiesFrame::Warp, &form);
  QFormLayout* typeForm = nullptr;
  QGroupBox* type = Frame(PropertiesFrame::WarpType, &typeForm);
  AddList(typeForm, "Warp_Type", {}, Items(ListItems("Warp_Type")));
  form->addRow(type);
  return frame;
}

QWidget* PropertiesDialog::BuildSparklers() { return Frame(PropertiesFrame::Sparkler); }

QWidget* PropertiesDialog::BuildGravity() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(PropertiesFrame::Gravity, &form);
  QFormLayout* hueForm = nullptr;
  QGroupBox* hue = Frame(PropertiesFrame::GravityHue, &hueForm, false);  // its list comes first
  AddList(hueForm, "Grav_ColorComp", {}, Items(ListItems("Grav_ColorComp")));
  AddRows(hueForm, FrameOf(PropertiesFrame::GravityHue).rows);
  form->addRow(hue);
  return frame;
}

QWidget* PropertiesDialog::BuildGalaxies() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(PropertiesFrame::Galaxy, &form);
  AddList(form, "Galaxy_ColorComp", tr("Hue Com&putation:"), Items(ListItems("Galaxy_ColorComp")));
  AddThemeList(form, SectionId::Galaxy);
  std::vector<QWidget*> extras;
  for (const PropertiesFrame sub : GalaxyExtras())
    extras.push_back(sub == PropertiesFrame::GalaxyShape ? BuildGalaxyShape() : Frame(sub));
  Extras(form, QStringLiteral("cboGalaxyExtras"), extras);
  return frame;
}

// The galaxy's shape, with the initial hue's swatch, the profile and its picture, and the plane.
QGroupBox* PropertiesDialog::BuildGalaxyShape() {
  QFormLayout* shape = nullptr;
  QGroupBox* characteristics = Frame(PropertiesFrame::GalaxyShape, &shape);
  picGalHue_ = Swatch(characteristics, "picGalHue");
  PutBesideField(shape, 5, picGalHue_);
  QStringList profiles;
  for (int i = 0; i < kGalaxyProfileCount; ++i) profiles << Caption(GalaxyProfileName(i));
  QComboBox* profile = AddList(shape, "Galaxy_Profile", tr("Galaxy Profile:"), profiles);
  picGalProfile_ = new GalaxyProfileView(characteristics);
  shape->addRow(picGalProfile_);
  connect(profile, &QComboBox::currentIndexChanged, picGalProfile_, &GalaxyProfileView::SetProfile);
  QComboBox* plane = AddList(shape, nullptr, tr("Axial Plane of Galaxy Star Rotation:"), {tr("Y-Z")});
  plane->setObjectName(QStringLiteral("cboGalPlane"));
  return characteristics;
}

void PropertiesDialog::BuildMenus() {
  auto* bar = new QMenuBar(this);
  const PropertiesFormHooks& hooks = hooks_;
  BuildFileMenu(bar);

  QMenu* edit = bar->addMenu(tr("&Edit"));
  edit->addAction(tr("&Reset Properties"), this, &PropertiesDialog::AskResetProperties);
  edit->addSeparator();
  QAction* advanced = edit->addAction(tr("&Advanced Settings..."), this, [this] {
    QLineEdit* message = findChild<QLineEdit*>(QStringLiteral("LockMessage"));
    QString text = message->text();
    if (hooks_.advanced && hooks_.advanced(this, store_, text)) message->setText(text);
    SchedulePreview();  // the frame delay and the hues may have changed
  });
  advanced->setObjectName(QStringLiteral("mnuAdvanced"));
  advanced->setEnabled(bool(hooks.advanced));

  BuildEffectMenu(bar);

  QMenu* help = bar->addMenu(tr("&Help"));
  help->addAction(tr("&Contents..."), this, [this] { ShowHelpContents(this); });
  help->addAction(tr("&Search..."), this, [this] { ShowHelpSearch(this); });
  help->addSeparator();
  QAction* about = help->addAction(tr("&About Quasarine..."), this, [this] {
    if (hooks_.about) hooks_.about(this);
  });
  about->setObjectName(QStringLiteral("mnuAbout"));
  about->setEnabled(bool(hooks.about));
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, [this] { ShowHelpTopic(this, focusWidget()); });

  layout()->setMenuBar(bar);
}

void PropertiesDialog::BuildFileMenu(QMenuBar* bar) {
  QMenu* file = bar->addMenu(tr("&File"));
  file->addAction(tr("&Open Template..."), QKeySequence::Open, this, &PropertiesDialog::OpenTemplate);
  file->addSeparator();
  file->addAction(tr("&Save Template"), QKeySequence::Save, this, [this] { SaveTemplate(false); });
  file->addAction(tr("Save Template &As..."), QKeySequence::SaveAs, this, [this] { SaveTemplate(true); });
  file->addSeparator();
  file->addAction(tr("E&xit"), this, [this] {
    exitRequested_ = true;
    emit exitRequested();
    reject();
  });
}

void PropertiesDialog::BuildEffectMenu(QMenuBar* bar) {
  QMenu* effect = bar->addMenu(tr("Effe&ct"));
  auto* group = new QActionGroup(this);
  const std::span<const std::string_view> entries = EffectMenuEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto index = static_cast<EffectIndex>(i);
    QAction* entry = effect->addAction(Caption(entries[i]), this, [this, index] { form_.SelectEffect(index); });
    entry->setCheckable(true);
    group->addAction(entry);
    mnuEffect_.at(i) = entry;
  }
  effect->addSeparator();
  QAction* sounds = effect->addAction(tr("S&ounds..."), this, [this] {
    if (hooks_.sounds) hooks_.sounds(this, store_);
  });
  sounds->setObjectName(QStringLiteral("mnuEffectSound"));
  sounds->setEnabled(bool(hooks_.sounds));
}

QLayout* PropertiesDialog::BuildPreviewAndButtons() {
  auto* layout = new QVBoxLayout;
  auto* previewFrame = new QGroupBox(tr("Preview"));
  auto* previewLayout = new QVBoxLayout(previewFrame);
  preview_ = new LivePreview(store_, previewFrame);
  previewLayout->addWidget(preview_);
  layout->addWidget(previewFrame);
  layout->addStretch(1);
  auto* buttons = new QDialogButtonBox(Qt::Vertical);
  cmdAccept_ = buttons->addButton(tr("&Accept Settings"), QDialogButtonBox::AcceptRole);
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  cmdAccept_->setDefault(true);
  QPushButton* dismiss = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  dismiss->setObjectName(QStringLiteral("cmdDismiss"));
  connect(buttons, &QDialogButtonBox::accepted, this, &PropertiesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PropertiesDialog::reject);
  layout->addWidget(buttons);
  return layout;
}

void PropertiesDialog::BuildForm() {
  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  top->addLayout(columns);
  columns->addWidget(BuildSharedFrames());

  fraAni_ = new QStackedWidget(this);
  fraAni_->setObjectName(QStringLiteral("fraAni"));
  for (QWidget* panel : {BuildFireworks(), BuildStarfield(), BuildWarp(), BuildSparklers(), BuildGravity(), BuildGalaxies()})
    fraAni_->addWidget(panel);
  columns->addWidget(fraAni_, 1, Qt::AlignTop);
  columns->addLayout(BuildPreviewAndButtons());

  BuildMenus();
}

}  // namespace qsrn
