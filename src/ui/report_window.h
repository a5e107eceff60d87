// The report window: the report dialog, its page-by-page preview and the printed report.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QSize>
#include <QWidget>

#include "report/report_snapshot.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace tarvelo::ui {

class ReportPreviewArea;

using report::ReportSnapshot;

class ReportWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ReportWindow(QWidget* parent = nullptr);

    // Opens the dialog; the snapshot function is called whenever the report is produced. With
    // envelopeReady (the last run completed) the user may add the resistance envelope's page.
    void Open(std::function<ReportSnapshot()> snapshot, bool envelopeReady = false);

    // The printer dialog of "Im&primir". Tests install a hook that sets the printer up (for
    // example to a PDF file) and answers; nullptr restores QPrintDialog. True to print.
    using PrintDialogHook = std::function<bool(QPrinter& printer, QWidget* parent)>;
    static void SetPrintDialogHook(PrintDialogHook hook);

    // The preview's state, for the tests.
    int PageToShow() const { return pageToShow_; }
    int PageTotal() const { return pageTotal_; }
    // The lines on the preview area as plain text.
    std::vector<std::string> PreviewTexts() const;

  signals:
    // Emitted when the window closes (the main window enables itself again).
    void closed();
    // The user typed in "Título do exemplo" (the column's title can follow it).
    void titleEdited(const QString& title);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowDialogLayout();
    void PreviewClicked();   // "Visualizar"
    void BackClicked();      // "Voltar"
    void ForwardClicked();   // "Avançar"
    void ReturnClicked();    // "Imprimir" of the preview: prints, then back to the dialog
    bool PrintClicked();     // "Im&primir"; false when the print dialog was cancelled
    void CancelClicked();    // "&Cancelar"
    void SaveTextClicked();  // "Salvar TXT"
    void SavePdfClicked();   // "Salvar PDF"
    void ProducePreviewPage();
    ReportSnapshot TakeSnapshot() const;

    std::function<ReportSnapshot()> snapshot_;
    // The previewed content, made once per preview (the envelope takes a run).
    std::optional<report::ReportContent> previewContent_;
    int pageToShow_ = 1;
    int pageTotal_ = 0;
    QSize dialogSize_;
    bool closedSent_ = false;

    QWidget* dialogPanel_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLineEdit* titleField_ = nullptr;  // "Título do exemplo"
    QLabel* copiesLabel_ = nullptr;
    QLineEdit* copiesField_ = nullptr;  // "Número de cópias"
    QCheckBox* envelopeBox_ = nullptr;  // "Incluir envoltória resistente"
    QPushButton* previewButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* saveTextButton_ = nullptr;
    QPushButton* savePdfButton_ = nullptr;
    QLineEdit* originField_ = nullptr;  // the window the report was opened from

    QPushButton* backButton_ = nullptr;
    QPushButton* forwardButton_ = nullptr;
    QPushButton* returnButton_ = nullptr;
    ReportPreviewArea* previewArea_ = nullptr;
    QLabel* pageLabel_ = nullptr;  // "Página p de n" under the buttons
    QLineEdit* pageField_ = nullptr;
    QLineEdit* pageTotalField_ = nullptr;
};

}  // namespace tarvelo::ui
