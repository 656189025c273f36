// The help: the manual (docs/manual.md) in a window with a contents tree built from its headings,
// a search field that narrows the tree to the sections holding the words and finds them in the
// text, and topics by setting key, so that F1 on a field opens the row of that field's setting.
// One window per owning dialog, opened beside it; it closes when the dialog closes or hides,
// and on Escape.
// Usage:
//   ShowHelpContents(dialog);                  // Help > Contents
//   ShowHelpSearch(dialog);                    // Help > Search
//   InstallHelpKey(dialog);                    // F1 opens the focused control's setting
//   control->setProperty("helpKey", "Adv_PickQSRN");  // where the object name is not the key
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QLineEdit;
class QTextBrowser;
class QTreeWidget;

namespace qsrn {

// The installed manual (<program>/../share/doc/quasarine/manual.md), else the source tree's.
QString ManualPath();

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  HelpWindow(const QString& manualPath, QWidget* owner);

  // At the start of the manual.
  void ShowContents();
  // The search field focused (with text filled in when given).
  void ShowSearch(const QString& text = {});
  // The row of a setting (its key written as code in the manual); false, at the start, when the
  // manual has no such row.
  bool ShowTopic(const QString& settingKey);
  // The next occurrence of the search text after the cursor (wrapping); false when there is none.
  bool FindNext();

  QTreeWidget* contents() const { return contents_; }
  QTextBrowser* browser() const { return browser_; }
  QLineEdit* search() const { return search_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Section {
    QString title;
    int level;
    int start;  // document position of the heading
    int end;    // where the next heading of this level or above starts
  };
  // Shown, raised and activated; the first time beside the owning dialog.
  void Present();
  void BuildContents();
  void FilterContents(const QString& text);
  void ScrollTo(int position, int length);

  QTreeWidget* contents_ = nullptr;
  QTextBrowser* browser_ = nullptr;
  QLineEdit* search_ = nullptr;
  std::vector<Section> sections_;
  bool placed_ = false;
};

// The help window of owner, created on first use.
HelpWindow* HelpFor(QWidget* owner);
void ShowHelpContents(QWidget* owner);
void ShowHelpSearch(QWidget* owner);
// The topic of control's setting (see HelpKeyOf), or the contents when it has none.
void ShowHelpTopic(QWidget* owner, const QWidget* control);
// The setting a control edits: its "helpKey" property, else its object name when that is a key of
// the settings catalogue; the nearest of the control and its parents that has one.
QString HelpKeyOf(const QWidget* control);
// F1 in dialog opens the topic of the focused control.
void InstallHelpKey(QWidget* dialog);

}  // namespace qsrn
