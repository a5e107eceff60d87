// FormImprimir: the report dialog, its page-by-page preview and the printed report.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QSize>
#include <QWidget>

#include "report/report_snapshot.h"

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

    // Opens the dialog; the snapshot function is called whenever the report is produced.
    void Open(std::function<ReportSnapshot()> snapshot);

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
    void PreviewClicked();   // Command1 "Visualizar"
    void BackClicked();      // Command4 "Voltar"
    void ForwardClicked();   // Command5 "Avançar"
    void ReturnClicked();    // Command6 "Imprimir" of the preview
    void PrintClicked();     // Command2 "Im&primir"
    void CancelClicked();    // Command3 "&Cancelar"
    void SaveTextClicked();  // Command8 "Salvar TXT"
    void SavePdfClicked();   // Command7 "Salvar PDF"
    void ProducePreviewPage();
    ReportSnapshot TakeSnapshot() const;

    std::function<ReportSnapshot()> snapshot_;
    int pageToShow_ = 1;
    int pageTotal_ = 0;
    QSize dialogSize_;
    bool closedSent_ = false;

    QWidget* dialogPanel_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLineEdit* titleField_ = nullptr;  // Text2 "Título do exemplo"
    QLabel* copiesLabel_ = nullptr;
    QLineEdit* copiesField_ = nullptr;       // Text1 "Número de cópias"
    QPushButton* previewButton_ = nullptr;   // Command1
    QPushButton* printButton_ = nullptr;     // Command2
    QPushButton* cancelButton_ = nullptr;    // Command3
    QPushButton* saveTextButton_ = nullptr;  // Command8
    QPushButton* savePdfButton_ = nullptr;   // Command7
    QLineEdit* originField_ = nullptr;       // Text3 ReportOrigin

    QPushButton* backButton_ = nullptr;         // Command4
    QPushButton* forwardButton_ = nullptr;      // Command5
    QPushButton* returnButton_ = nullptr;       // Command6
    ReportPreviewArea* previewArea_ = nullptr;  // Picture1
    QLabel* pageLabel_ = nullptr;               // "Página p de n" under the buttons
    QLineEdit* pageField_ = nullptr;            // Text11
    QLineEdit* pageTotalField_ = nullptr;       // Text22
};

}  // namespace tarvelo::ui
