#pragma once
// FormImprimir: the print dialog. It offers the destinations the print
// server listed (asked beforehand, away from the window's thread), a PDF
// file instead, the paper and the orientation; never pages or copies, since
// a tape is always printed whole and once. It talks to no server itself.
#include "printing/dialogos_impressao.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quarvel::printing {

class FormImprimir : public QDialog {
    Q_OBJECT
  public:
    FormImprimir(const std::vector<DestinoImpressao>& destinos, QWidget* parent = nullptr);

    EscolhaImpressao escolha() const;

    // The controls, for the dialog's callers and checks.
    QComboBox* impressoras() const { return impressoras_; }
    QComboBox* papeis() const { return papeis_; }
    QComboBox* orientacoes() const { return orientacoes_; }
    QLineEdit* arquivo() const { return arquivo_; }
    QPushButton* botao_imprimir() const { return imprimir_; }

  private:
    void destino_mudou(bool trocar_papel);
    void escolher_papel(const QPageSize& papel);
    void procurar_arquivo();

    std::vector<DestinoImpressao> destinos_;
    std::vector<QPageSize> lista_papeis_; // the paper combo's items
    QComboBox* impressoras_ = nullptr;
    QComboBox* papeis_ = nullptr;
    QComboBox* orientacoes_ = nullptr;
    QLineEdit* arquivo_ = nullptr;
    QPushButton* procurar_ = nullptr;
    QPushButton* imprimir_ = nullptr;
};

} // namespace quarvel::printing
