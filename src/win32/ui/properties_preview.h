// The properties dialog's live preview, a child window of class "QuasarinePreview" (placed by the
// dialog's template): the chosen effect run with the values the fields show (not yet accepted)
// through the same loaders, engines and frame protocol as the saver's preview, drawn by the
// changed-tile presenter and paced by a timer at the frame delay. A change restarts it a quarter
// of a second after the last edit; it stops while the dialog is hidden or minimised.
// Usage:
//   LivePreview::Register();                 // before the dialog is created
//   LivePreview* p = LivePreview::Of(GetDlgItem(dlg, IDC_PROPS_PREVIEW));
//   p->Attach(store); p->Restart(form.Texts(), form.Effect());
#pragma once

#include <windows.h>

#include "effects/engine.h"
#include "forms/preview_run.h"
#include "settings/template_fields.h"
#include "win32/present/dib_presenter.h"

namespace qsrn {

class LivePreview {
 public:
  static void Register();
  static LivePreview* Of(HWND window);

  // store supplies the Advanced keys (frame delay, performance multiplier, hues).
  void Attach(const SettingsStore& store) { store_ = &store; }
  // Runs effect with these values, after a pause that gathers a burst of edits.
  void Restart(const FieldTexts& texts, EffectIndex effect);
  // The dialog was hidden or minimised (true), or shown again.
  void Pause(bool paused);

 private:
  explicit LivePreview(HWND window);
  ~LivePreview();
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  void StartEngine();
  void Present();
  void Paint();

  HWND window_;
  const SettingsStore* store_ = nullptr;
  FieldTexts texts_;
  EffectIndex effect_ = EffectIndex::Fireworks;
  PreviewRun run_{[this] { Present(); }};
  DibPresenter presenter_;
  UINT frameDelay_ = 25;
  bool pending_ = false;
  bool paused_ = false;
};

}  // namespace qsrn
