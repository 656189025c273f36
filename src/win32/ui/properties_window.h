// The properties dialog's window: its controls bound to the properties form (forms/properties_form.h),
// which holds every field's text, the rules and the operations. Rows are bound by position from
// the form's tables (properties_ids.h); the user's edits go to the form, the form's own changes
// come back to the controls, and the enable states follow the form. Split by purpose:
// properties_dialog.cpp (the window and its messages), properties_binding.cpp (controls <-> form),
// properties_menus.cpp (menus, templates, the other dialogs).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/properties_form.h"
#include "forms/properties_pages.h"
#include "win32/ui/dialogs.h"
#include "win32/ui/numeric_edit.h"
#include "win32/ui/properties_preview.h"

namespace qsrn {

class PropertiesWindow {
 public:
  explicit PropertiesWindow(DialogContext& dc) : dc_(dc), form_(dc.store) {}
  PropertiesWindow(const PropertiesWindow&) = delete;
  PropertiesWindow& operator=(const PropertiesWindow&) = delete;

  // The messages of the dialog and of its pages (which pass their commands and drawing on).
  INT_PTR Handle(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp);

 private:
  // A control bound to a key.
  struct Binding {
    enum class Kind { Numeric, Check, List, Text } kind;
    HWND control;
    std::unique_ptr<NumericEdit> edit;  // Numeric only
  };

  // properties_dialog.cpp
  void Init(HWND dlg);
  bool Command(int id, int code, HWND control);
  void Accept();
  void Report(const FormOutcome& outcome) const;
  void Help(const HELPINFO& info) const;
  void DrawItem(const DRAWITEMSTRUCT& item) const;
  void Teardown();

  // properties_binding.cpp
  HWND CreatePage(HWND parent, const wchar_t* name, int area);
  void BuildPages();
  void BindFrame(PropertiesFrame frame);
  void BindList(int id, std::string_view key);
  HWND Control(int id) const;
  void FillLists();
  void UserEdited(std::string_view key, const std::string& text);
  void ShowField(std::string_view key);
  void ShowAll();
  void ShowEffect();
  void ShowExtras(const std::vector<HWND>& pages, int chosen);
  void EnableFrame(PropertiesFrame frame, bool enable);
  void RepaintSwatches();
  void SchedulePreview();
  std::string KeyOf(HWND control) const;

  // properties_menus.cpp
  void BuildEffectMenu();
  bool MenuCommand(int id);
  void OpenTemplate();
  void SaveTemplate(bool saveAs);
  void AskResetProperties();
  void ShowAdvanced();

  DialogContext& dc_;
  PropertiesForm form_;
  HWND dlg_ = nullptr;
  std::vector<HWND> containers_;       // the dialog, its pages and sub-frames: where ids are found
  std::vector<HWND> effectPages_;      // one per effect, in effect order
  std::vector<HWND> fireworksExtras_;  // the sub-frames of the "Extras:" lists, in list order
  std::vector<HWND> galaxyExtras_;
  std::map<std::string, Binding, std::less<>> bindings_;
  LivePreview* preview_ = nullptr;
  std::string openMessage_;  // shown once the dialog is up
  bool syncing_ = false;     // set while a control shows what the form says, so it is not an edit
  bool loading_ = false;
};

}  // namespace qsrn
