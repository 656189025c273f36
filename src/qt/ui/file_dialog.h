// The file dialog of the configuration dialogs (templates, wave files): a Qt file dialog with the
// caller's title and type list, filtering by the chosen type, the last folder remembered while
// the program runs (also after Cancel), and two checks before it closes:
//  - open: the file must exist, else "Please select an existing file.";
//  - save: ".qsn" is appended to a file name without a dot, and the folder must take a new file
//    (probed with a file of our own, never the chosen one), else "Please enter a valid path and
//    file.".
// Usage:
//   const QString path = ShowFileDialog(this, true, tr("Select Template to Open"),
//                                       QStringLiteral("Quasarine Templates (*.qsn)|*.qsn|All Files (*.*)|*.*"));
//   if (!path.isEmpty()) ...   // empty: cancelled
#pragma once

#include <QFileDialog>
#include <QString>

namespace qsrn {

// types: descriptions and patterns alternating, separated by "|"
// ("Waveforms (*.wav)|*.wav|All Files (*.*)|*.*"). Returns the confirmed full path, or "".
QString ShowFileDialog(QWidget* parent, bool open, const QString& title, const QString& types);

class TemplateFileDialog : public QFileDialog {
  Q_OBJECT

 public:
  TemplateFileDialog(QWidget* parent, bool open, const QString& title, const QString& types);
  ~TemplateFileDialog() override;
  // The confirmed path; empty until the user accepts a valid one.
  QString FullFileName() const { return fullFileName_; }
  // The folder the next dialog starts in.
  static QString LastFolder();

 public slots:
  void accept() override;

 private:
  bool open_;
  QString fullFileName_;
};

// "Description|pattern|..." as Qt name filters ("Description (pattern)").
QStringList NameFiltersFromTypes(const QString& types);

}  // namespace qsrn
