#include "app/frm_erro.h"

#include "app/mensagens.h"
#include "app/recursos.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace quarvel::app {

namespace {

QTextCharFormat formato(double pontos, bool negrito, bool italico, const QColor& cor = QColor()) {
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(pontos);
    f.setFontWeight(negrito ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italico);
    if (cor.isValid()) f.setForeground(cor);
    return f;
}

} // namespace

QString FormErro::formatar_endereco(quint32 endereco) {
    return QStringLiteral("%1").arg(endereco, 8, 16, QLatin1Char('0')).toUpper();
}

FormErro::FormErro(const QString& mensagem, quint32 endereco, const QString& salvos_em,
                   QWidget* parent)
    : QDialog(parent) {
    carregar_recursos();
    setObjectName(QStringLiteral("FormErro"));
    setWindowTitle(QStringLiteral("Erro de Programa !"));
    setWindowIcon(icone_programa());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(374, 194);
    setFont(QFont(QStringLiteral("Arial"), 8));

    auto* titulo = new QLabel(QStringLiteral("Ocorreu um erro neste programa ! Se o problema "
                                             "persistir contate o autor, informando a mensagem "
                                             "de erro abaixo:"),
                              this);
    titulo->setGeometry(28, 16, 318, 26);
    titulo->setAlignment(Qt::AlignCenter);
    titulo->setWordWrap(true);

    mensagem_ = new QTextEdit(this);
    mensagem_->setObjectName(QStringLiteral("mensagem"));
    mensagem_->setGeometry(8, 54, 358, 93);
    mensagem_->setReadOnly(true);
    mensagem_->setAccessibleName(QStringLiteral("mensagem de erro"));
    mensagem_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    mensagem_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mensagem_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mensagem_->setLineWrapMode(QTextEdit::WidgetWidth);
    mensagem_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mensagem_->setAcceptRichText(false);
    // Tool-tip colour on the text area only: the scroll bars keep their
    // usual look and stay easy to see.
    QPalette fundo = mensagem_->viewport()->palette();
    fundo.setColor(QPalette::Base, fundo.color(QPalette::ToolTipBase));
    mensagem_->viewport()->setPalette(fundo);
    QPalette texto = mensagem_->palette();
    texto.setColor(QPalette::Text, texto.color(QPalette::WindowText));
    mensagem_->setPalette(texto);
    mensagem_->setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));

    bt_ok_ = new QPushButton(QIcon(QStringLiteral(":/icones/ok.svg")), QStringLiteral("OK"), this);
    bt_ok_->setObjectName(QStringLiteral("bt_ok"));
    bt_ok_->setGeometry(137, 158, 89, 28);
    bt_ok_->setDefault(true);
    bt_ok_->setAutoDefault(true);
    bt_ok_->setAccessibleDescription(QStringLiteral("fecha o relatório; o programa termina"));
    connect(bt_ok_, &QPushButton::clicked, this, &QDialog::accept);

    montar_relatorio(mensagem, endereco, salvos_em);
    move(642, 351);
    bt_ok_->setFocus();
}

void FormErro::montar_relatorio(const QString& mensagem, quint32 endereco,
                                const QString& salvos_em) {
    QTextDocument* doc = mensagem_->document();
    doc->clear();
    QTextCursor c(doc);
    QTextBlockFormat centro;
    centro.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centro);

    const QTextCharFormat padrao = formato(9, true, false);
    const QTextCharFormat pedido = formato(8, false, true);
    // A darker red than pure red, which reads at only 4:1 on white.
    const QTextCharFormat suporte = formato(9, true, false, QColor(192, 0, 0));

    // Filled piece by piece: the message is data and may itself contain
    // "%", "%1" or braces, which must reach the screen untouched.
    const QString linha1 = QStringLiteral("Ocorreu o Seguinte Erro: - ") + mensagem +
                           QStringLiteral(" , no endereço: ") + formatar_endereco(endereco);
    c.setBlockCharFormat(padrao);
    c.insertText(linha1, padrao);
    if (!salvos_em.isEmpty()) {
        c.insertBlock(centro, padrao);
        c.insertText(QStringLiteral("Os valores foram salvos em ") + salvos_em, padrao);
    }
    c.insertBlock(centro, padrao); // empty line

    c.insertBlock(centro, pedido);
    c.insertText(QStringLiteral("Necessito de uma descrição passo a passo do que você fez para "
                                "que ocorresse esse erro. Essa informação é importantíssima "
                                "para a descoberta deste problema."),
                 pedido);
    c.insertBlock(centro, pedido); // empty line

    c.insertBlock(centro, suporte);
    c.insertText(QStringLiteral("Acesse: ") + QString::fromUtf8(kEnderecoSuporte), suporte);

    mensagem_->moveCursor(QTextCursor::Start);
}

} // namespace quarvel::app
