// The properties dialog between its controls and its form: the pages built from the templates,
// every row bound to its key by position, the user's edits to the form and the form's changes
// back to the controls; see properties_window.h.
#include <array>

#include "forms/properties_rules.h"
#include "settings/numeric.h"
#include "settings/themes.h"
#include "win32/ui/dialog_text.h"
#include "win32/ui/properties_ids.h"
#include "win32/ui/properties_window.h"

namespace qsrn {

namespace {

static_assert(QP_FRAME_PIXEL_HUE == static_cast<int>(PropertiesFrame::PixelHue));
static_assert(QP_FRAME_FIREWORKS == static_cast<int>(PropertiesFrame::Fireworks));
static_assert(QP_FRAME_STARFIELD == static_cast<int>(PropertiesFrame::Starfield));
static_assert(QP_FRAME_WARP == static_cast<int>(PropertiesFrame::Warp));
static_assert(QP_FRAME_SPARKLER == static_cast<int>(PropertiesFrame::Sparkler));
static_assert(QP_FRAME_GRAVITY == static_cast<int>(PropertiesFrame::Gravity));
static_assert(QP_FRAME_GALAXY == static_cast<int>(PropertiesFrame::Galaxy));
static_assert(QP_FRAME_AMBIENT == static_cast<int>(PropertiesFrame::AmbientStars));

// The effect pages in effect order, and each sub-frame's template.
constexpr std::array<const wchar_t*, kEffectCount> kEffectPages = {
    L"PROPS_FIREWORKS", L"PROPS_STARFIELD", L"PROPS_WARP", L"PROPS_SPARKLER", L"PROPS_GRAVITY", L"PROPS_GALAXY"};

const wchar_t* TemplateOf(PropertiesFrame frame) {
  switch (frame) {
    case PropertiesFrame::Launch: return L"PROPS_LAUNCH";
    case PropertiesFrame::Dispersion: return L"PROPS_DISPERSION";
    case PropertiesFrame::MultiBurst: return L"PROPS_MULTI_BURST";
    case PropertiesFrame::JetBurst: return L"PROPS_JET_BURST";
    case PropertiesFrame::Scintillators: return L"PROPS_SCINTILLATORS";
    case PropertiesFrame::Sparklers: return L"PROPS_SPARKLERS";
    case PropertiesFrame::Rings: return L"PROPS_RINGS";
    case PropertiesFrame::Twisters: return L"PROPS_TWISTERS";
    case PropertiesFrame::DecayingStars: return L"PROPS_DECAYING";
    case PropertiesFrame::GalaxyShape: return L"PROPS_GALAXY_SHAPE";
    case PropertiesFrame::NewStars: return L"PROPS_NEW_STARS";
    case PropertiesFrame::Novas: return L"PROPS_NOVAS";
    case PropertiesFrame::StarBursts: return L"PROPS_STAR_BURSTS";
    case PropertiesFrame::GalaxyComets: return L"PROPS_GALAXY_COMETS";
    case PropertiesFrame::AmbientStars: return L"PROPS_AMBIENT";
    default: return nullptr;
  }
}

void AddItem(HWND list, std::string_view item) {
  const std::wstring text = WideOf(item);
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Select(HWND list, int index) { SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

}  // namespace

// A child dialog over its placeholder, next to it in the tab order.
HWND PropertiesWindow::CreatePage(HWND parent, const wchar_t* name, int area) {
  HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), name, parent, PageProc, reinterpret_cast<LPARAM>(this));
  if (page == nullptr) return nullptr;
  HWND place = GetDlgItem(parent, area);
  RECT r{};
  GetWindowRect(place, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(page, place, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  containers_.push_back(page);
  return page;
}

void PropertiesWindow::BuildPages() {
  for (const wchar_t* name : kEffectPages) effectPages_.push_back(CreatePage(dlg_, name, IDC_PROPS_PAGE));
  for (const PropertiesFrame frame : FireworksExtras())
    fireworksExtras_.push_back(CreatePage(effectPages_.front(), TemplateOf(frame), IDC_PROPS_EXTRAS_AREA));
  for (const PropertiesFrame frame : GalaxyExtras())
    galaxyExtras_.push_back(CreatePage(effectPages_.back(), TemplateOf(frame), IDC_PROPS_EXTRAS_AREA));
  for (int frame = 0; frame < QP_FRAME_COUNT; ++frame) BindFrame(static_cast<PropertiesFrame>(frame));
  BindList(IDC_PROPS_EFFECT, AnimationTypeKey().key);
  BindList(IDC_PROPS_WARP_TYPE, "Warp_Type");
  BindList(IDC_PROPS_GRAV_HUE, "Grav_ColorComp");
  BindList(IDC_PROPS_GAL_HUE, "Galaxy_ColorComp");
  BindList(IDC_PROPS_GAL_PROFILE, "Galaxy_Profile");
  bindings_.emplace("LockMessage", Binding{Binding::Kind::Text, Control(IDC_PROPS_MESSAGE), nullptr});
}

// The frame's title and rows: captions (numeric ones with their range), edits and check boxes.
void PropertiesWindow::BindFrame(PropertiesFrame frame) {
  const FrameSpec& shown = FrameOf(frame);
  const int f = static_cast<int>(frame);
  if (HWND group = Control(QP_GROUP(f))) SetWindowTextUtf8(group, std::string(shown.title));
  for (size_t r = 0; r < shown.rows.size(); ++r) {
    const FieldRow& row = shown.rows[r];
    const DialogKey* d = FindDialogKey(row.key);
    HWND field = Control(QP_FIELD(f, static_cast<int>(r)));
    if (d == nullptr || field == nullptr) continue;
    const std::string key(d->key->key);
    if (IsCheckKey(*d->key)) {
      SetWindowTextUtf8(field, std::string(row.caption));
      bindings_.emplace(key, Binding{Binding::Kind::Check, field, nullptr});
      continue;
    }
    SetWindowTextUtf8(Control(QP_LABEL(f, static_cast<int>(r))), RangeCaption(row.caption, *d->key));
    auto edit = std::make_unique<NumericEdit>(field, Control(QP_SPIN(f, static_cast<int>(r))), *d->key);
    edit->onEdited = [this, key, e = edit.get()] { UserEdited(key, e->Text()); };
    bindings_.emplace(key, Binding{Binding::Kind::Numeric, field, std::move(edit)});
  }
}

void PropertiesWindow::BindList(int id, std::string_view key) {
  if (HWND list = Control(id)) bindings_.emplace(std::string(key), Binding{Binding::Kind::List, list, nullptr});
}

HWND PropertiesWindow::Control(int id) const {
  for (HWND container : containers_)
    if (HWND control = GetDlgItem(container, id)) return control;
  return nullptr;
}

void PropertiesWindow::FillLists() {
  for (const auto& [id, key] : {std::pair{IDC_PROPS_EFFECT, AnimationTypeKey().key}, {IDC_PROPS_WARP_TYPE, "Warp_Type"},
                                {IDC_PROPS_GRAV_HUE, "Grav_ColorComp"}, {IDC_PROPS_GAL_HUE, "Galaxy_ColorComp"}})
    for (const std::string_view item : ListItems(key)) AddItem(Control(id), item);
  for (int i = 0; i < kGalaxyProfileCount; ++i) AddItem(Control(IDC_PROPS_GAL_PROFILE), GalaxyProfileName(i));
  for (int i = 0; i <= kFireworksThemeCount; ++i) AddItem(Control(IDC_PROPS_FIRE_THEME), FireworksThemeName(i));
  for (int i = 0; i <= kGalaxyThemeCount; ++i) AddItem(Control(IDC_PROPS_GAL_THEME), GalaxyThemeName(i));
  for (const PropertiesFrame frame : FireworksExtras()) AddItem(Control(IDC_PROPS_FIRE_EXTRAS), FrameOf(frame).title);
  for (const PropertiesFrame frame : GalaxyExtras()) AddItem(Control(IDC_PROPS_GAL_EXTRAS), FrameOf(frame).title);
  AddItem(Control(IDC_PROPS_GAL_PLANE), "Y-Z");
  for (const int id : {IDC_PROPS_FIRE_THEME, IDC_PROPS_GAL_THEME, IDC_PROPS_FIRE_EXTRAS, IDC_PROPS_GAL_EXTRAS, IDC_PROPS_GAL_PLANE})
    Select(Control(id), 0);
  ShowExtras(fireworksExtras_, 0);
  ShowExtras(galaxyExtras_, 0);
}

void PropertiesWindow::UserEdited(std::string_view key, const std::string& text) {
  if (syncing_) return;  // the form's own change, shown
  form_.Edit(key, text);
  if (PaintsSwatch(key)) RepaintSwatches();
  if (key == "Galaxy_Profile") InvalidateRect(Control(IDC_PROPS_GAL_PICTURE), nullptr, FALSE);
  SchedulePreview();
}

// The form changed a field: its control shows it (without counting as the user's edit).
void PropertiesWindow::ShowField(std::string_view key) {
  if (key == AnimationTypeKey().key) {
    ShowEffect();
    return;
  }
  const auto it = bindings_.find(key);
  if (it == bindings_.end()) return;
  const std::string& text = form_.Text(key);
  const bool syncing = syncing_;
  syncing_ = true;
  Binding& b = it->second;
  switch (b.kind) {
    case Binding::Kind::Numeric: b.edit->SetText(text); break;
    case Binding::Kind::Check: SendMessageW(b.control, BM_SETCHECK, text == "1" ? BST_CHECKED : BST_UNCHECKED, 0); break;
    case Binding::Kind::List: Select(b.control, CInt(Val(text))); break;
    case Binding::Kind::Text:
      if (WindowTextUtf8(b.control) != text) SetWindowTextUtf8(b.control, text);
      break;
  }
  syncing_ = syncing;
  if (PaintsSwatch(key)) RepaintSwatches();
  if (key == "Galaxy_Profile") InvalidateRect(Control(IDC_PROPS_GAL_PICTURE), nullptr, FALSE);
  SchedulePreview();
}

void PropertiesWindow::ShowAll() {
  for (const auto& [key, binding] : bindings_) ShowField(key);
  RepaintSwatches();
}

// The chosen effect's page and menu entry, and the shared frames it enables.
void PropertiesWindow::ShowEffect() {
  const int effect = static_cast<int>(form_.Effect());
  if (effect < 0 || effect >= static_cast<int>(effectPages_.size())) return;
  Select(Control(IDC_PROPS_EFFECT), effect);
  for (size_t i = 0; i < effectPages_.size(); ++i)
    ShowWindow(effectPages_[i], static_cast<int>(i) == effect ? SW_SHOWNA : SW_HIDE);
  CheckMenuRadioItem(GetMenu(dlg_), IDM_PROPS_EFFECT0, IDM_PROPS_EFFECT0 + kEffectCount - 1,
                     IDM_PROPS_EFFECT0 + effect, MF_BYCOMMAND);
  EnableFrame(PropertiesFrame::PixelColour, form_.ColourDistributionEnabled());
  EnableFrame(PropertiesFrame::DisplayEnhancement, form_.PixelSizeEnabled());
  SchedulePreview();
}

// An "Extras:" list's choice: that sub-frame shows and is enabled, the others not.
void PropertiesWindow::ShowExtras(const std::vector<HWND>& pages, int chosen) {
  for (size_t i = 0; i < pages.size(); ++i) {
    const bool on = static_cast<int>(i) == chosen;
    EnableWindow(pages[i], on);
    ShowWindow(pages[i], on ? SW_SHOWNA : SW_HIDE);
  }
}

void PropertiesWindow::EnableFrame(PropertiesFrame frame, bool enable) {
  const int f = static_cast<int>(frame);
  for (int id = QP_FRAME_BASE(f); id <= QP_GROUP(f); ++id)
    if (HWND control = Control(id)) EnableWindow(control, enable);
}

void PropertiesWindow::RepaintSwatches() {
  for (const int id : {IDC_PROPS_SWATCH0, IDC_PROPS_SWATCH1, IDC_PROPS_SWATCH2, IDC_PROPS_GAL_SWATCH})
    InvalidateRect(Control(id), nullptr, FALSE);
}

void PropertiesWindow::SchedulePreview() {
  if (!loading_ && preview_ != nullptr) preview_->Restart(form_.Texts(), form_.Effect());
}

std::string PropertiesWindow::KeyOf(HWND control) const {
  for (const auto& [key, binding] : bindings_)
    if (binding.control == control) return key;
  return {};
}

}  // namespace qsrn
