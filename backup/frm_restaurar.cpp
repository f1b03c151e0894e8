#include "backup/frm_restaurar.h"

#include "backup/pasta_backup.h"
#include "documents/mensagens.h"
#include "tape/botoes_dialogo.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace quarvel::backup {

using documents::kNomePastaRestaurar;
using documents::kRotuloPastaRestaurar;
using documents::kTituloRestaurar;

FormRestaurar::FormRestaurar(const QStringList& nomes, std::function<void()> limpar,
                             QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("form_restaurar"));
    setWindowTitle(QString::fromUtf8(kTituloRestaurar));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
    // Wide enough for the whole title where the window system draws none.
    const int largura = std::max(340, tape::largura_para_titulo(windowTitle()));
    constexpr int altura = 376;
    setFixedSize(largura, altura);
    setFont(QFont(QStringLiteral("Arial"), 9));

    auto* texto = new QLabel(
        QStringLiteral("Selecione o arquivo que deseja restaurar no backup e clique no botão OK. "
                       "Se desejar, poderá fazer uma limpeza apagando os itens da pasta, "
                       "clicando no botão \"Limpar a  pasta backup\""),
        this);
    texto->setWordWrap(true);
    texto->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    texto->setGeometry(12, 10, largura - 24, 66);

    // The folder listed, restored from and cleared: the one the backups go to.
    const QString pasta = local_de_backup();
    pasta_ = new QLabel(this);
    pasta_->setObjectName(QStringLiteral("pasta_backup"));
    pasta_->setGeometry(12, 78, largura - 24, 18);
    const QString rotulo = QString::fromUtf8(kRotuloPastaRestaurar);
    const QFontMetrics medida = pasta_->fontMetrics();
    const int livre = pasta_->width() - medida.horizontalAdvance(rotulo.arg(QString()));
    pasta_->setText(rotulo.arg(pasta_legivel(pasta, medida, livre)));
    pasta_->setToolTip(pasta);
    pasta_->setAccessibleName(QString::fromUtf8(kNomePastaRestaurar).arg(pasta));
    pasta_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pasta_->setVisible(!pasta.isEmpty());

    auto* grupo = new QGroupBox(QStringLiteral("Arquivos de Backup"), this);
    grupo->setGeometry(12, 100, largura - 24, 226);

    aviso_ = new QLabel(grupo);
    aviso_->setObjectName(QStringLiteral("aviso_pasta"));
    aviso_->setWordWrap(true);
    aviso_->setGeometry(10, 22, grupo->width() - 20, 52);
    aviso_->hide();

    lista_ = new QListWidget(grupo);
    lista_->setObjectName(QStringLiteral("lista"));
    lista_->setGeometry(10, 24, grupo->width() - 20, 154);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->addItems(nomes);
    lista_->setAccessibleName(QStringLiteral("arquivos de backup"));
    lista_->setAccessibleDescription(
        QStringLiteral("escolha o backup a restaurar e confirme com OK"));

    bot_limpar_ = new QPushButton(QStringLiteral("&Limpar a pasta Backup"), grupo);
    bot_limpar_->setObjectName(QStringLiteral("bot_limpar"));
    bot_limpar_->setGeometry(10, 186, grupo->width() - 20, 28);
    bot_limpar_->setAutoDefault(false);
    bot_limpar_->setEnabled(lista_->count() > 0);
    bot_limpar_->setAccessibleDescription(
        QStringLiteral("apaga todos os arquivos da pasta Backup"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BT_OK"));
    ok->setGeometry(largura - 12 - 2 * 89 - 8, altura - 12 - 28, 89, 28);
    ok->setDefault(true);
    ok->setAccessibleDescription(QStringLiteral("restaura o backup escolhido"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("BT_CANCEL"));
    cancelar->setGeometry(largura - 12 - 89, altura - 12 - 28, 89, 28);
    cancelar->setAutoDefault(false);
    cancelar->setAccessibleDescription(QStringLiteral("fecha a janela sem restaurar"));
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);

    connect(bot_limpar_, &QPushButton::clicked, this, [this, limpar = std::move(limpar)] {
        // Out of sight while the folder is emptied and the outcome is told.
        hide();
        if (limpar) limpar();
        reject();
    });

    if (parent) {
        QRect r(QPoint(0, 0), size());
        r.moveCenter(parent->window()->frameGeometry().center());
        move(r.topLeft());
    }
}

void FormRestaurar::mostrar_aviso(const QString& texto) {
    aviso_->setText(texto);
    aviso_->setVisible(!texto.isEmpty());
    // The list gives up the room the text takes.
    const QRect r = lista_->geometry();
    const int topo = texto.isEmpty() ? 24 : aviso_->geometry().bottom() + 4;
    lista_->setGeometry(r.x(), topo, r.width(), 178 - topo);
}

QString FormRestaurar::escolhido() const {
    const auto itens = lista_->selectedItems();
    return itens.isEmpty() ? QString() : itens.first()->text();
}

} // namespace quarvel::backup
