#pragma once
// TestPrintPreviewDlg: the print preview window over a print document.
#include <QDialog>

namespace quarvel::printing {

class DocumentoImpressao;

class TestPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    TestPrintPreviewDlg(DocumentoImpressao& doc, QWidget* parent = nullptr);
};

}  // namespace quarvel::printing
