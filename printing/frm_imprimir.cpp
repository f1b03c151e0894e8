#include "printing/frm_imprimir.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarvel::printing {

namespace {

// The combo's item that prints into a file rather than a queue.
constexpr int kItemArquivo = -1;

// The papers offered whatever the printer: the usual ones in Brazil.
const QPageSize::PageSizeId kPapeisComuns[] = {QPageSize::A4, QPageSize::Letter, QPageSize::Legal,
                                               QPageSize::A5, QPageSize::A3};

QString nome_do_papel(const QPageSize& p) {
    switch (p.id()) {
    case QPageSize::A4:
        return QStringLiteral("A4 (210 x 297 mm)");
    case QPageSize::Letter:
        return QStringLiteral("Carta (216 x 279 mm)");
    case QPageSize::Legal:
        return QStringLiteral("Ofício (216 x 356 mm)");
    case QPageSize::A5:
        return QStringLiteral("A5 (148 x 210 mm)");
    case QPageSize::A3:
        return QStringLiteral("A3 (297 x 420 mm)");
    default: {
        const QSizeF mm = p.size(QPageSize::Millimeter);
        return QStringLiteral("%1 (%2 x %3 mm)")
            .arg(p.name())
            .arg(qRound(mm.width()))
            .arg(qRound(mm.height()));
    }
    }
}

QString texto_do_destino(const DestinoImpressao& d) {
    QString r = QString::fromStdString(nome_do_destino(d));
    if (!d.descricao.empty() && d.descricao != d.fila)
        r += QStringLiteral(" — ") + QString::fromStdString(d.descricao);
    return r;
}

} // namespace

QPageSize papel_do_servidor(const std::string& nome) {
    if (nome.empty()) return QPageSize(QPageSize::A4);
    // Names of the PPD kind: "A4", "Letter", "Legal".
    const QString chave = QString::fromStdString(nome);
    for (int i = 0; i <= int(QPageSize::LastPageSize); ++i) {
        const auto id = static_cast<QPageSize::PageSizeId>(i);
        if (QPageSize::key(id).compare(chave, Qt::CaseInsensitive) == 0) return QPageSize(id);
    }
    // PWG names carry their size: the standard size it matches, if any.
    if (const auto m = medida_do_papel(nome)) {
        const QPageSize p(QSizeF(m->largura, m->altura),
                          m->polegadas ? QPageSize::Inch : QPageSize::Millimeter, QString(),
                          QPageSize::FuzzyMatch);
        if (p.isValid()) return p;
    }
    return QPageSize(QPageSize::A4);
}

QPageLayout pagina_padrao(const std::vector<DestinoImpressao>& destinos) {
    for (const DestinoImpressao& d : destinos)
        if (d.padrao) return EscolhaImpressao{{}, {}, papel_do_servidor(d.papel)}.pagina();
    return EscolhaImpressao{}.pagina();
}

FormImprimir::FormImprimir(const std::vector<DestinoImpressao>& destinos, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
      destinos_(destinos) {
    setObjectName(QStringLiteral("form_imprimir"));
    setWindowTitle(QStringLiteral("Imprimir"));
    setModal(true);

    impressoras_ = new QComboBox(this);
    impressoras_->setObjectName(QStringLiteral("impressora"));
    impressoras_->setAccessibleName(QStringLiteral("impressora"));
    int padrao = -1;
    for (std::size_t i = 0; i < destinos_.size(); ++i) {
        impressoras_->addItem(texto_do_destino(destinos_[i]), int(i));
        if (destinos_[i].padrao && padrao < 0) padrao = int(i);
    }
    impressoras_->addItem(QStringLiteral("Arquivo PDF"), kItemArquivo);
    impressoras_->setCurrentIndex(padrao >= 0 ? padrao : 0);

    papeis_ = new QComboBox(this);
    papeis_->setObjectName(QStringLiteral("papel"));
    papeis_->setAccessibleName(QStringLiteral("papel"));
    for (QPageSize::PageSizeId id : kPapeisComuns) {
        lista_papeis_.emplace_back(id);
        papeis_->addItem(nome_do_papel(lista_papeis_.back()));
    }

    orientacoes_ = new QComboBox(this);
    orientacoes_->setObjectName(QStringLiteral("orientacao"));
    orientacoes_->setAccessibleName(QStringLiteral("orientação"));
    orientacoes_->addItem(QStringLiteral("Retrato"), int(QPageLayout::Portrait));
    orientacoes_->addItem(QStringLiteral("Paisagem"), int(QPageLayout::Landscape));

    arquivo_ = new QLineEdit(this);
    arquivo_->setObjectName(QStringLiteral("arquivo"));
    arquivo_->setAccessibleName(QStringLiteral("arquivo PDF"));
    arquivo_->setAccessibleDescription(QStringLiteral("o arquivo em que a fita é impressa"));
    procurar_ = new QPushButton(QStringLiteral("P&rocurar..."), this);
    procurar_->setObjectName(QStringLiteral("procurar"));
    procurar_->setAccessibleName(QStringLiteral("procurar arquivo PDF"));
    procurar_->setAutoDefault(false);
    auto* linha_arquivo = new QHBoxLayout;
    linha_arquivo->addWidget(arquivo_, 1);
    linha_arquivo->addWidget(procurar_);

    auto* campos = new QFormLayout;
    auto rotulo = [this](const char* texto, QWidget* dono) {
        auto* l = new QLabel(QString::fromUtf8(texto), this);
        l->setBuddy(dono);
        return l;
    };
    campos->addRow(rotulo("&Impressora:", impressoras_), impressoras_);
    campos->addRow(rotulo("&Arquivo:", arquivo_), linha_arquivo);
    campos->addRow(rotulo("&Papel:", papeis_), papeis_);
    campos->addRow(rotulo("&Orientação:", orientacoes_), orientacoes_);
    impressoras_->setMinimumContentsLength(32);

    imprimir_ = new QPushButton(QStringLiteral("Imprimir"), this);
    imprimir_->setObjectName(QStringLiteral("BT_OK"));
    imprimir_->setDefault(true);
    imprimir_->setAccessibleDescription(QStringLiteral("imprime a fita inteira"));
    auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("BT_CANCEL"));
    cancelar->setAutoDefault(false);
    cancelar->setAccessibleDescription(QStringLiteral("fecha a janela sem imprimir"));
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(imprimir_);
    botoes->addWidget(cancelar);

    auto* caixa = new QVBoxLayout(this);
    caixa->addLayout(campos);
    caixa->addSpacing(6);
    caixa->addLayout(botoes);
    // The file row is always there, enabled only for a file: the window
    // keeps one size.
    caixa->setSizeConstraint(QLayout::SetFixedSize);

    connect(imprimir_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(procurar_, &QPushButton::clicked, this, [this] { procurar_arquivo(); });
    // Another printer brings its own paper; typing a file name does not.
    connect(impressoras_, &QComboBox::currentIndexChanged, this, [this] { destino_mudou(true); });
    connect(arquivo_, &QLineEdit::textChanged, this, [this] { destino_mudou(false); });
    // The drop-down lists are read as well as the boxes.
    impressoras_->view()->setAccessibleName(QStringLiteral("lista de impressoras"));
    papeis_->view()->setAccessibleName(QStringLiteral("lista de papéis"));
    orientacoes_->view()->setAccessibleName(QStringLiteral("lista de orientações"));
    destino_mudou(true);
    impressoras_->setFocus();
}

void FormImprimir::destino_mudou(bool trocar_papel) {
    const int i = impressoras_->currentData().toInt();
    const bool arquivo = i == kItemArquivo;
    arquivo_->setEnabled(arquivo);
    procurar_->setEnabled(arquivo);
    imprimir_->setEnabled(!arquivo || !arquivo_->text().trimmed().isEmpty());
    QString sobre;
    if (arquivo) {
        sobre = QStringLiteral("imprime num arquivo PDF");
    } else if (i >= 0 && std::size_t(i) < destinos_.size()) {
        const DestinoImpressao& d = destinos_[std::size_t(i)];
        QStringList partes;
        if (d.padrao) partes << QStringLiteral("impressora padrão");
        if (!d.local.empty()) partes << QStringLiteral("local: ") + QString::fromStdString(d.local);
        sobre = partes.join(QStringLiteral(", "));
        if (trocar_papel) escolher_papel(papel_do_servidor(d.papel));
    }
    impressoras_->setAccessibleDescription(sobre);
}

void FormImprimir::escolher_papel(const QPageSize& papel) {
    for (std::size_t i = 0; i < lista_papeis_.size(); ++i)
        if (lista_papeis_[i].isEquivalentTo(papel)) {
            papeis_->setCurrentIndex(int(i));
            return;
        }
    lista_papeis_.push_back(papel);
    papeis_->addItem(nome_do_papel(papel));
    papeis_->setCurrentIndex(papeis_->count() - 1);
}

void FormImprimir::procurar_arquivo() {
    QFileDialog dlg(this, QStringLiteral("Imprimir em arquivo PDF"));
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilter(QStringLiteral("Documento PDF (*.pdf)"));
    dlg.setDefaultSuffix(QStringLiteral("pdf"));
    if (!arquivo_->text().isEmpty()) dlg.selectFile(arquivo_->text());
    if (dlg.exec() == QDialog::Accepted)
        arquivo_->setText(QDir::toNativeSeparators(dlg.selectedFiles().value(0)));
}

EscolhaImpressao FormImprimir::escolha() const {
    EscolhaImpressao r;
    const int i = impressoras_->currentData().toInt();
    if (i == kItemArquivo)
        r.arquivo_pdf = QDir::fromNativeSeparators(arquivo_->text().trimmed());
    else if (i >= 0 && std::size_t(i) < destinos_.size())
        r.destino = QString::fromStdString(nome_do_destino(destinos_[std::size_t(i)]));
    const int p = papeis_->currentIndex();
    if (p >= 0 && std::size_t(p) < lista_papeis_.size()) r.papel = lista_papeis_[std::size_t(p)];
    r.orientacao = static_cast<QPageLayout::Orientation>(orientacoes_->currentData().toInt());
    return r;
}

} // namespace quarvel::printing
