#include "app/frm_sobre.h"

#include "app/mensagens.h"
#include "app/recursos.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace quarvel::app {

namespace {

// A plain-text label drawn as a link that opens `destino` when clicked.
class Link : public QLabel {
  public:
    Link(const QString& texto, QString destino, QWidget* parent)
        : QLabel(texto, parent), destino_(std::move(destino)) {
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        setPalette(pal);
        setCursor(Qt::PointingHandCursor);
        setTextInteractionFlags(Qt::NoTextInteraction);
        setToolTip(destino_);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            QDesktopServices::openUrl(QUrl(destino_)); // a missing handler is not our concern
        QLabel::mouseReleaseEvent(e);
    }

  private:
    QString destino_;
};

} // namespace

FormSobre::FormSobre(QWidget* parent) : QDialog(parent) {
    carregar_recursos();
    setObjectName(QStringLiteral("form_sobre"));
    setWindowTitle(QStringLiteral("Sobre"));
    setWindowIcon(icone_programa());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
    setFixedSize(306, 266);
    QFont base(QStringLiteral("Arial"), 9);
    setFont(base);

    auto* icone = new QLabel(this);
    icone->setPixmap(icone_programa().pixmap(32, 32));
    icone->setGeometry(16, 14, 32, 32);
    icone->setAccessibleName(QStringLiteral("ícone do Quarvel"));

    auto* nome = new QLabel(QString::fromUtf8(kNome), this);
    QFont negrito(QStringLiteral("Arial"), 12, QFont::Bold);
    nome->setFont(negrito);
    nome->setGeometry(60, 14, 220, 32);
    nome->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* produto = new QLabel(QString::fromUtf8(kProduto), this);
    produto->setGeometry(16, 54, 274, 18);

    auto* info = new QLabel(QStringLiteral("Versão: %1\nData: 03/11/05\nCriado por: %2")
                                .arg(QString::fromUtf8(kVersao), QString::fromUtf8(kAutor)),
                            this);
    info->setGeometry(16, 80, 274, 52);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* rotulo_site = new QLabel(QStringLiteral("Site:"), this);
    rotulo_site->setGeometry(16, 140, 274, 17);
    link_site_ = new Link(QString::fromUtf8(kSite), QString::fromUtf8(kSite), this);
    link_site_->setObjectName(QStringLiteral("link_site"));
    link_site_->setGeometry(16, 157, 274, 17);

    auto* rotulo_email = new QLabel(QStringLiteral("E-mail:"), this);
    rotulo_email->setGeometry(16, 180, 274, 17);
    link_email_ = new Link(QString::fromUtf8(kEmail),
                           QStringLiteral("mailto:") + QString::fromUtf8(kEmail), this);
    link_email_->setObjectName(QStringLiteral("link_email"));
    link_email_->setGeometry(16, 197, 274, 17);

    for (QLabel* l : {link_site_, link_email_})
        l->adjustSize();
    link_site_->setAccessibleDescription(QStringLiteral("abre o site no navegador"));
    link_email_->setAccessibleDescription(QStringLiteral("escreve um e-mail"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("bt_ok"));
    ok->setGeometry(306 - 16 - 80, 266 - 12 - 28, 80, 28);
    ok->setDefault(true);
    ok->setAccessibleDescription(QStringLiteral("fecha a janela"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    if (parent) {
        QRect r(QPoint(0, 0), size());
        r.moveCenter(parent->window()->frameGeometry().center());
        move(r.topLeft());
    }
}

} // namespace quarvel::app
