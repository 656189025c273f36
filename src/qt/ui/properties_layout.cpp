// The layout of the properties dialog: the shared frames, one frame per effect with its
// "Extras:" sub-frames, the preview, the buttons and the four menus. Each field row names its
// key; the field's kind, range and step come from the settings catalogue.
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

#include "settings/themes.h"
#include "qt/ui/form_hooks.h"
#include "qt/ui/galaxy_profile_view.h"
#include "qt/ui/live_preview.h"
#include "qt/ui/numeric_field.h"
#include "qt/ui/properties_dialog.h"
#include "qt/ui/help_window.h"

namespace qsrn {

namespace {

QString Caption(const char* text) { return QObject::tr(text); }

QLabel* Swatch(QWidget* parent, const char* name) {
  auto* swatch = new QLabel(parent);
  swatch->setObjectName(QString::fromLatin1(name));
  swatch->setFixedSize(24, 16);
  swatch->setFrameShape(QFrame::Box);
  swatch->setAutoFillBackground(true);
  return swatch;
}

}  // namespace

void PropertiesDialog::AddRows(QFormLayout* form, std::initializer_list<Row> rows) {
  for (const Row& row : rows) {
    const DialogKey* d = FindDialogKey(row.key);
    if (d == nullptr) continue;
    QWidget* control = nullptr;
    if (IsCheckKey(*d->key)) {
      // The caption is the row's label, the box sits in the field column.
      auto* box = new QCheckBox(form->parentWidget());
      auto* label = new QLabel(Caption(row.caption), form->parentWidget());
      label->setBuddy(box);
      box->setAccessibleName(label->text().remove(QLatin1Char('&')));
      connect(box, &QCheckBox::toggled, this, [this] { SchedulePreview(); });
      form->addRow(label, box);
      control = box;
    } else {
      NumericField* field = AddNumericRow(form, Caption(row.caption), *d->key);
      const std::string key(d->key->key);
      connect(field, &NumericField::edited, this, [this, key] { OnFieldEdited(key); });
      control = field->edit();
    }
    control->setObjectName(QString::fromLatin1(d->key->key.data(), static_cast<int>(d->key->key.size())));
    controls_.emplace(std::string(d->key->key), control);
  }
}

QGroupBox* PropertiesDialog::Frame(const QString& title, std::initializer_list<Row> rows, QFormLayout** formOut) {
  auto* frame = new QGroupBox(title);
  auto* form = new QFormLayout(frame);
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  AddRows(form, rows);
  if (formOut) *formOut = form;
  return frame;
}

QComboBox* PropertiesDialog::AddList(QFormLayout* form, const char* key, const QString& caption,
                                     const QStringList& items) {
  auto* list = new QComboBox(form->parentWidget());
  list->addItems(items);
  if (key != nullptr) {
    list->setObjectName(QString::fromLatin1(key));
    controls_.emplace(key, list);
    connect(list, &QComboBox::currentIndexChanged, this, [this] { SchedulePreview(); });
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

// An "Extras:" list over stacked sub-frames: the chosen one shows and is enabled, the others not.
QStackedWidget* PropertiesDialog::Extras(QFormLayout* form, const QString& name, std::initializer_list<QWidget*> pages) {
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
  cboAniType_->addItems({tr("Fireworks"), tr("Starfield"), tr("B-Spline Warp"), tr("B-Spline Sparklers"),
                         tr("Stars and Gravity Wells"), tr("Galaxies")});
  auto* typeLabel = new QLabel(tr("Effect &Type:"), column);
  typeLabel->setBuddy(cboAniType_);
  typeForm->addRow(typeLabel, cboAniType_);
  layout->addLayout(typeForm);

  QFormLayout* hueForm = nullptr;
  QGroupBox* hue = Frame(tr("Pixel Hue Composition"), {{"ColorRed", "&Red %"}, {"ColorGrn", "&Green %"},
                                                       {"ColorBlu", "&Blue %"}, {"FixedHues", "&Use Fixed Hue:"}},
                         &hueForm);
  const char* names[] = {"picPixHue0", "picPixHue1", "picPixHue2"};
  for (int i = 0; i < 3; ++i) {
    picPixHue_[static_cast<size_t>(i)] = Swatch(hue, names[i]);
    // Beside the field's spinner, in the field's row.
    if (auto* row = hueForm->itemAt(i, QFormLayout::FieldRole); row && row->layout())
      static_cast<QHBoxLayout*>(row->layout())->addWidget(picPixHue_[static_cast<size_t>(i)]);
  }
  layout->addWidget(hue);
  fraPixCol_ = Frame(tr("Pixel Color Distribution"), {{"ColorPctInt", "&Intensity %"},
                                                      {"ColorPctHue", "Hue &Wheel %"},
                                                      {"ColorHueWheel", "Hue &Variation"}});
  fraPixCol_->setObjectName(QStringLiteral("fraPixCol"));
  layout->addWidget(fraPixCol_);
  fraPixelEnh_ = Frame(tr("Display Enhancement"), {{"PixelSize", "Pixel Si&ze"}});
  fraPixelEnh_->setObjectName(QStringLiteral("fraPixelEnh"));
  layout->addWidget(fraPixelEnh_);
  layout->addWidget(Frame(tr("Viewing Focal Length"), {{"FocalLength", "Focal Le&ngth"}}));

  auto* messageFrame = new QGroupBox(tr("On Screen Message"));
  auto* messageForm = new QFormLayout(messageFrame);
  auto* message = new QLineEdit(messageFrame);
  message->setObjectName(QStringLiteral("LockMessage"));
  DropPastedLineBreaks(message);
  connect(message, &QLineEdit::textChanged, this, [this] { SchedulePreview(); });
  auto* messageLabel = new QLabel(tr("&Message:"), messageFrame);
  messageLabel->setBuddy(message);
  messageForm->addRow(messageLabel, message);
  controls_.emplace("LockMessage", message);
  layout->addWidget(messageFrame);
  layout->addStretch(1);
  return column;
}

QWidget* PropertiesDialog::BuildFireworks() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(tr("Fireworks Properties"),
                           {{"FireWorks", "&Shells"}, {"FireSparks", "S&parks per Shell"}, {"FireLength", "Trai&l Length"},
                            {"FireSymmetry", "S&ymmetry"}, {"FireSpeed", "Emit Spee&d"}, {"FirePersist", "Persistence"},
                            {"FireGravity", "Gravity"}, {"FireSizeDev", "Extent Magnitude"}, {"FireDamping", "Damping"}},
                           &form);
  QStringList themes;
  for (int i = 0; i <= kFireworksThemeCount; ++i) themes << QString::fromUtf8(FireworksThemeName(i).data(), static_cast<int>(FireworksThemeName(i).size()));
  QComboBox* theme = AddList(form, nullptr, tr("Theme:"), themes);
  theme->setObjectName(QStringLiteral("cboFireTheme"));
  connect(theme, &QComboBox::activated, this, [this](int i) { ApplyTheme(SectionId::Fireworks, i); });
  Extras(form, QStringLiteral("cboExtras"),
         {Frame(tr("Launch"), {{"FireLaunchPct", "Launch %"}, {"FireLaunchPixel", "Launch Sparks"},
                               {"FireLaunchRadius", "Launch Radius"}, {"FireLaunchSteps", "Launch Steps"},
                               {"FireLaunchPersist", "Launch Persistence"}}),
          Frame(tr("Pixel Dispersion Pattern"), {{"FireSplinePct", "Spline Path %"}, {"FireSplineKnot", "Spline Knots"},
                                                 {"FirePatternPct", "Pattern %"}}),
          Frame(tr("Burst Config:  Multi-Burst"), {{"FireMultiPct", "Multi-Burst %"}, {"FireMultiAge", "Burst Age"},
                                                   {"FireMultiBurst", "Bursts"},
                                                   {"FireMultiMoment", "Preserve Burst Momentum:"}}),
          Frame(tr("Burst Config:  Jet-Burst"), {{"FireBurstPct", "Jet-Burst %"}, {"FireBurstAge", "Burst Age"},
                                                 {"FireBurstCount", "Jets"}, {"FireBurstRadius", "Burst Radius"},
                                                 {"FireBurstShell", "Burst Shell on Trail Termination:"}}),
          Frame(tr("Burst Config:  Scintillators"), {{"FireScintPct", "Scintillator %"}, {"FireScintStyle", "Style"}}),
          Frame(tr("Burst Config:  Sparklers"), {{"FireSparkPct", "Sparkler %"}, {"FireSparkAge", "Sparkler Age"},
                                                 {"FireSparkPix", "Sparks per Sparkler"}}),
          Frame(tr("Burst Config:  Rings"), {{"FireRingPct", "Ring %"}, {"FireRingEmb", "Ring Embers"},
                                             {"FireRingDeg", "Ring Tilt"}}),
          Frame(tr("Burst Config:  Twisters"), {{"FireTwistPct", "Twister %"}, {"FireTwistCnt", "Twisters"},
                                                {"FireTwistDeg", "Twist Angle"}, {"FireTwistRad", "Twist Radius"},
                                                {"FireTwistExt", "Twist Extent"}}),
          Frame(tr("Burst Config:  Decaying Stars"), {{"FireDecayPct", "Decaying Star %"}, {"FireDecayCnt", "Stars"},
                                                      {"FireDecayMSize", "Maximum Size"},
                                                      {"FireDecayMLife", "Maximum Life"}})});
  return frame;
}

QWidget* PropertiesDialog::BuildStarfield() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(tr("Starfield Properties"), {{"Star_Stars", "&Stars"}, {"Star_Speed", "S&peed"}}, &form);
  form->addRow(Frame(tr("Comet Properties"), {{"Star_Comet_Percent", "C&omet %"}, {"Star_Comet_Lifespan", "Comet &Lifespan"},
                                              {"Star_Comet_Expansion", "E&xpansion Rate"},
                                              {"Star_Comet_NonBallistic", "Exhibit Non-ballistic Motion:"}}));
  form->addRow(Frame(tr("Pattern Properties"), {{"Star_Dyson_Percent", "Sphere %"}, {"Star_Dyson_Laterals", "Lateral Lines"},
                                                {"Star_Dyson_LatPixels", "Stars per Lateral"},
                                                {"Star_Dyson_RotAngle", "Rotation Angle"},
                                                {"Star_Dyson_Radius", "Sphere Ra&dius"}}));
  return frame;
}

QWidget* PropertiesDialog::BuildWarp() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(tr("B-Spline Warp Properties"),
                           {{"Warp_Works", "S&plines"}, {"Warp_Sparks", "Spar&ks per Spline"}, {"Warp_Length", "Trai&l Length"},
                            {"Warp_SplineIncs", "Spline &Steps"}, {"Warp_Speed", "Emit Spee&d"},
                            {"Warp_Persist", "Persistence"}, {"Warp_SizeDev", "E&xtent Magnitude"},
                            {"Warp_Damping", "Damping"}, {"Warp_CyclePct", "Hue L&ock %"}, {"Warp_HueLock", "Hue Lock:"}},
                           &form);
  QFormLayout* typeForm = nullptr;
  QGroupBox* type = Frame(tr("Warp Type"), {}, &typeForm);
  AddList(typeForm, "Warp_Type", {}, {tr("Central Random"), tr("Central Reflection"), tr("Central Symmetric"),
                                      tr("Symmetric Reflection"), tr("Extended Symmetric")});
  form->addRow(type);
  return frame;
}

QWidget* PropertiesDialog::BuildSparklers() {
  return Frame(tr("B-Spline Sparkler Properties"),
               {{"B_Spline_Splines", "S&plines"}, {"B_Spline_Pixels", "Total Spar&ks"}, {"B_Spline_SSpeed", "Spline &Steps"},
                {"B_Spline_ESpeed", "Emit Spee&d"}, {"B_Spline_Persist", "Persistence"}, {"B_Spline_Gravity", "Gravit&y"},
                {"B_Spline_Damping", "Damping"}, {"B_Spline_AntiGrav", "So&lar Wind"},
                {"B_Spline_MaxExtent", "Maximum Centre E&xtent"}, {"B_Spline_Symmetry", "Symmetric ab&out Center:"}});
}

QWidget* PropertiesDialog::BuildGravity() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(tr("Gravity Well Properties"),
                           {{"Grav_Emitters", "Emitter&s"}, {"Grav_Attractors", "Attract&ors"}, {"Grav_Pixels", "&Particles"},
                            {"Grav_ESpeed", "Emit Spee&d"}, {"Grav_Gravity", "Attractor Gravit&y"},
                            {"Grav_ARadius", "Attractor Radius"}, {"Grav_TrailLength", "Trai&l Length"},
                            {"Grav_Refresh", "Frames per Cycle"}},
                           &form);
  QFormLayout* hueForm = nullptr;
  QGroupBox* hue = Frame(tr("Particle Hue Computation Type / Multiplier (1 - 9999)"), {}, &hueForm);
  AddList(hueForm, "Grav_ColorComp", {}, {tr("Distance of Stars from Viewer's Eye"), tr("Velocity of Stars"),
                                          tr("Acceleration of Stars")});
  AddRows(hueForm, {{"Grav_ColorMult", "Multiplier"}});
  form->addRow(hue);
  return frame;
}

QWidget* PropertiesDialog::BuildGalaxies() {
  QFormLayout* form = nullptr;
  QGroupBox* frame = Frame(tr("Galaxy Properties"),
                           {{"Galaxy_Stars", "&Stars"}, {"Galaxy_Radius", "Ra&dius"}, {"Galaxy_Rotation", "R&otation"},
                            {"Galaxy_Distance", "Distance"}, {"Galaxy_Velocity", "Velocit&y"}, {"Galaxy_Trail", "Trai&l Length"},
                            {"Galaxy_ColorMult", "Hue Multiplier"}},
                           &form);
  AddList(form, "Galaxy_ColorComp", tr("Hue Com&putation:"),
          {tr("Rotational Velocity"), tr("Rotational Velocity (Square Root)"), tr("Distance from Core"),
           tr("Distance from Core (Squared)"), tr("Black (Stars are Invisible)")});
  QStringList themes;
  for (int i = 0; i <= kGalaxyThemeCount; ++i) themes << QString::fromStdString(GalaxyThemeName(i));
  QComboBox* theme = AddList(form, nullptr, tr("Theme:"), themes);
  theme->setObjectName(QStringLiteral("cboGalaxyTheme"));
  connect(theme, &QComboBox::activated, this, [this](int i) { ApplyTheme(SectionId::Galaxy, i); });

  QFormLayout* shape = nullptr;
  QGroupBox* characteristics =
      Frame(tr("Galaxy Characteristics"),
            {{"Galaxy_RadiusExp", "Radius Exponent"}, {"Galaxy_HeightExp", "Height Exponent"},
             {"Galaxy_GHW_Ratio", "Height / Width Ratio"}, {"Galaxy_AngleTilt", "Tilt Angle"},
             {"Galaxy_AngleTInc", "Tilt Increment"}, {"Galaxy_HWheelIdx", "Initial Hue"}},
            &shape);
  picGalHue_ = Swatch(characteristics, "picGalHue");
  if (auto* row = shape->itemAt(5, QFormLayout::FieldRole); row && row->layout())
    static_cast<QHBoxLayout*>(row->layout())->addWidget(picGalHue_);
  QStringList profiles;
  for (int i = 0; i < kGalaxyProfileCount; ++i) profiles << QString::fromUtf8(GalaxyProfileName(i).data(), static_cast<int>(GalaxyProfileName(i).size()));
  QComboBox* profile = AddList(shape, "Galaxy_Profile", tr("Galaxy Profile:"), profiles);
  picGalProfile_ = new GalaxyProfileView(characteristics);
  shape->addRow(picGalProfile_);
  connect(profile, &QComboBox::currentIndexChanged, picGalProfile_, &GalaxyProfileView::SetProfile);
  QComboBox* plane = AddList(shape, nullptr, tr("Axial Plane of Galaxy Star Rotation:"), {tr("Y-Z")});
  plane->setObjectName(QStringLiteral("cboGalPlane"));

  Extras(form, QStringLiteral("cboGalaxyExtras"),
         {characteristics,
          Frame(tr("New Star Creation"), {{"Galaxy_NewFreq", "Frequency"}, {"Galaxy_NewFrames", "Frames"},
                                          {"Galaxy_NewExtMult", "Extent Multiplier"}}),
          Frame(tr("Nova Star Creation"), {{"Galaxy_NovaFreq", "Frequency"}, {"Galaxy_NovaFrames", "Frames"},
                                           {"Galaxy_NovaExtMult", "Extent Multiplier"}}),
          Frame(tr("Star Burst Creation"), {{"Galaxy_BurstFreq", "Frequency"}, {"Galaxy_BurstStars", "Stars"},
                                            {"Galaxy_BurstSpeed", "Speed"}, {"Galaxy_BurstPersist", "Persistence"}}),
          Frame(tr("Comet Characteristics"), {{"Galaxy_CometFreq", "Frequency"}, {"Galaxy_CometStars", "Stars"},
                                              {"Galaxy_CometOrbit", "Orbit"}, {"Galaxy_CometSpeed", "Speed"},
                                              {"Galaxy_CometSWind", "Solar Wind"},
                                              {"Galaxy_CometSPersist", "Tail Persistence"},
                                              {"Galaxy_CometCPersist", "Coma Persistence"}}),
          Frame(tr("Ambient Star Characteristics"), {{"Galaxy_AmbStars", "Stars"}, {"Galaxy_AmbRadius", "Radius"},
                                                     {"Galaxy_AmbSymmetry", "Symmetry"},
                                                     {"Galaxy_AmbPersist", "Persistence"},
                                                     {"Galaxy_AmbCAgeInc", "Colour Age Increment"}})});
  return frame;
}

void PropertiesDialog::BuildMenus() {
  auto* bar = new QMenuBar(this);
  const PropertiesFormHooks& hooks = hooks_;

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

  QMenu* effect = bar->addMenu(tr("Effe&ct"));
  auto* group = new QActionGroup(this);
  const char* effects[] = {"&Fireworks", "&Starfield", "&B-Spline Warp", "B-S&pline Sparklers", "S&tars and Gravity", "&Galaxies"};
  for (int i = 0; i < 6; ++i) {
    QAction* entry = effect->addAction(tr(effects[i]), this, [this, i] { SelectEffect(i); });
    entry->setCheckable(true);
    group->addAction(entry);
    mnuEffect_[static_cast<size_t>(i)] = entry;
  }
  effect->addSeparator();
  QAction* sounds = effect->addAction(tr("S&ounds..."), this, [this] {
    if (hooks_.sounds) hooks_.sounds(this, store_);
  });
  sounds->setObjectName(QStringLiteral("mnuEffectSound"));
  sounds->setEnabled(bool(hooks.sounds));

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

  auto* side = new QVBoxLayout;
  auto* previewFrame = new QGroupBox(tr("Preview"));
  auto* previewLayout = new QVBoxLayout(previewFrame);
  preview_ = new LivePreview(store_, previewFrame);
  previewLayout->addWidget(preview_);
  side->addWidget(previewFrame);
  side->addStretch(1);
  auto* buttons = new QDialogButtonBox(Qt::Vertical);
  cmdAccept_ = buttons->addButton(tr("&Accept Settings"), QDialogButtonBox::AcceptRole);
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  cmdAccept_->setDefault(true);
  QPushButton* dismiss = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  dismiss->setObjectName(QStringLiteral("cmdDismiss"));
  connect(buttons, &QDialogButtonBox::accepted, this, &PropertiesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PropertiesDialog::reject);
  side->addWidget(buttons);
  columns->addLayout(side);

  BuildMenus();
}

}  // namespace qsrn
