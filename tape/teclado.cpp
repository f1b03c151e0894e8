#include "tape/teclado.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace quarvel::tape {

namespace {

constexpr int kLargura = 37; // five columns and four 1-pixel gaps: 189
constexpr int kAltura = 31;  // four rows and three gaps: 127
constexpr int kPasso = 38;
constexpr int kPassoLinha = 32;

struct Posicao {
    int numero; // 1..18
    char caractere;
    int linha, coluna, colunas;
    // The buttons show pictures ("7", "×", "↵"); a screen reader says the word.
    const char* nome;
    const char* descricao;
};

// The grid, top row first.
constexpr Posicao kGrade[] = {
    {14, '7', 0, 0, 1, "sete", "acrescenta 7 ao valor digitado"},
    {15, '8', 0, 1, 1, "oito", "acrescenta 8 ao valor digitado"},
    {16, '9', 0, 2, 1, "nove", "acrescenta 9 ao valor digitado"},
    {17, '*', 0, 3, 1, "vezes", "acrescenta o sinal de multiplicação ao valor digitado"},
    {18, '/', 0, 4, 1, "dividido por", "acrescenta o sinal de divisão ao valor digitado"},
    {9, '4', 1, 0, 1, "quatro", "acrescenta 4 ao valor digitado"},
    {10, '5', 1, 1, 1, "cinco", "acrescenta 5 ao valor digitado"},
    {11, '6', 1, 2, 1, "seis", "acrescenta 6 ao valor digitado"},
    {12, '+', 1, 3, 1, "mais", "acrescenta o sinal de adição ao valor digitado"},
    {13, '(', 1, 4, 1, "abre parêntese", "acrescenta ( ao valor digitado"},
    {4, '1', 2, 0, 1, "um", "acrescenta 1 ao valor digitado"},
    {5, '2', 2, 1, 1, "dois", "acrescenta 2 ao valor digitado"},
    {6, '3', 2, 2, 1, "três", "acrescenta 3 ao valor digitado"},
    {7, '-', 2, 3, 1, "menos", "acrescenta o sinal de subtração ao valor digitado"},
    {8, ')', 2, 4, 1, "fecha parêntese", "acrescenta ) ao valor digitado"},
    {1, '0', 3, 0, 3, "zero", "acrescenta 0 ao valor digitado"},
    {2, ',', 3, 3, 1, "vírgula", "acrescenta a vírgula decimal ao valor digitado"},
    {3, '\r', 3, 4, 1, "adicionar valor", "adiciona o valor digitado à fita, como a tecla Enter"},
};

// Button of each digit, 0 to 9.
constexpr int kBotaoDigito[10] = {1, 4, 5, 6, 9, 10, 11, 14, 15, 16};

// A border of its own makes the style paint a plain red face, not a tint.
// A darker red than pure red, under which white reads at only 4:1.
const char* kEstiloAceso = "QPushButton { background-color: rgb(192, 0, 0); color: white;"
                           " border: 1px solid rgb(128, 0, 0); border-radius: 2px; }";

// Digit of a key of the main keyboard's digit row, -1 for other keys. On
// X11 and Wayland the scan code names the physical key whatever Shift makes
// of it ("!" is still the 1 key); elsewhere the key code is used.
int digito_principal(const QKeyEvent& e) {
    if (e.modifiers() & Qt::KeypadModifier) return -1;
    if (e.key() >= Qt::Key_0 && e.key() <= Qt::Key_9) return e.key() - Qt::Key_0;
    const QString plataforma = QGuiApplication::platformName();
    if (plataforma == QLatin1String("xcb") || plataforma.startsWith(QLatin1String("wayland"))) {
        const quint32 sc = e.nativeScanCode(); // XKB key codes 10..19 are 1..9, 0
        if (sc >= 10 && sc <= 19) return static_cast<int>((sc - 9) % 10);
    }
    return -1;
}

} // namespace

Teclado::Teclado(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("teclado"));
    setFixedSize(189, 127);
    QFont f(QStringLiteral("Arial"), 11);
    f.setBold(true);
    for (const Posicao& p : kGrade) {
        auto* b = new QPushButton(this);
        b->setObjectName(QStringLiteral("b%1").arg(p.numero, 2, 10, QLatin1Char('0')));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAccessibleName(QString::fromUtf8(p.nome));
        b->setAccessibleDescription(QString::fromUtf8(p.descricao));
        b->setAutoDefault(false);
        b->setFont(f);
        b->setGeometry(p.coluna * kPasso, p.linha * kPassoLinha,
                       kLargura * p.colunas + (p.colunas - 1) * (kPasso - kLargura), kAltura);
        if (p.numero == 3) {
            b->setText(QStringLiteral("\u21B5")); // the Enter arrow: it adds, it does not compute
            b->setToolTip(QStringLiteral("Adicionar"));
            connect(b, &QPushButton::clicked, this, &Teclado::adicionar);
        } else {
            const QChar c = QLatin1Char(p.caractere);
            b->setText(p.caractere == '*' ? QStringLiteral("\u00D7") : QString(c));
            connect(b, &QPushButton::clicked, this, [this, c] { emit caractere(c); });
        }
        botoes_[static_cast<std::size_t>(p.numero - 1)] = b;
    }
}

QPushButton* Teclado::botao(int numero) const {
    if (numero < 1 || numero > 18) return nullptr;
    return botoes_[static_cast<std::size_t>(numero - 1)];
}

int Teclado::botao_da_tecla(const QKeyEvent& e) const {
    const int k = e.key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter) return 3;

    if (e.modifiers() & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return kBotaoDigito[k - Qt::Key_0];
        switch (k) {
        case Qt::Key_Plus:
            return 12;
        case Qt::Key_Minus:
            return 7;
        case Qt::Key_Asterisk:
            return 17;
        case Qt::Key_Slash:
            return 18;
        case Qt::Key_Comma:
        case Qt::Key_Period:
            return 2; // the decimal key, whichever the layout sends
        default:
            return 0;
        }
    }

    const Qt::KeyboardModifiers mods = e.modifiers() & ~Qt::KeypadModifier;
    const bool soShift = mods == Qt::ShiftModifier;
    const int d = digito_principal(e);
    if (d >= 1 && d <= 7) return kBotaoDigito[d];
    if (d == 8 || d == 9 || d == 0) {
        if (!soShift) return kBotaoDigito[d];
        if (d == 9) return 13;
        if (d == 0) return 8;
        return 0;
    }
    // Layouts that report the shifted key itself.
    if (soShift && (k == Qt::Key_ParenLeft || e.text() == QLatin1String("("))) return 13;
    if (soShift && (k == Qt::Key_ParenRight || e.text() == QLatin1String(")"))) return 8;
    return 0;
}

// A key is remembered by its scan code (or key code without one), so the
// key-up finds the button lit at key-down even when Shift was let go first.
static quint64 identidade(const QKeyEvent& e) {
    return e.nativeScanCode() != 0 ? (quint64{1} << 32) | e.nativeScanCode()
                                   : static_cast<quint64>(static_cast<quint32>(e.key()));
}

void Teclado::tecla_pressionada(const QKeyEvent& e) {
    const int n = botao_da_tecla(e);
    if (n == 0) return;
    pressionadas_[identidade(e)] = n;
    acender(n, true);
}

static bool modificadora(int tecla) {
    switch (tecla) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

void Teclado::tecla_solta(const QKeyEvent& e) {
    if (e.isAutoRepeat()) return; // still held
    const auto it = pressionadas_.find(identidade(e));
    int n = 0;
    if (it != pressionadas_.end()) {
        n = it->second;
        pressionadas_.erase(it);
    } else {
        n = botao_da_tecla(e);
        // A key-up that matches no key held down is one reported as another
        // key (the keypad's decimal comes back as its Delete when NumLock
        // changed meanwhile): nothing may stay lit for want of its key-up.
        // Letting go of a modifier is not that: Shift let go before its 9
        // keeps "(" lit.
        if (n == 0 && !modificadora(e.key())) {
            apagar_tudo();
            return;
        }
    }
    if (n == 0) return;
    for (const auto& [id, outro] : pressionadas_)
        if (outro == n) return; // another held key lights the same button
    acender(n, false);
}

bool Teclado::aceso(int numero) const {
    return numero >= 1 && numero <= 18 && acesos_[static_cast<std::size_t>(numero - 1)];
}

void Teclado::acender(int numero, bool sim) {
    auto& estado = acesos_[static_cast<std::size_t>(numero - 1)];
    if (estado == sim) return;
    estado = sim;
    botao(numero)->setStyleSheet(sim ? QString::fromLatin1(kEstiloAceso) : QString());
}

void Teclado::acompanhar_evento(const QEvent& e) {
    switch (e.type()) {
    case QEvent::KeyPress:
        tecla_pressionada(static_cast<const QKeyEvent&>(e));
        break;
    case QEvent::KeyRelease:
        tecla_solta(static_cast<const QKeyEvent&>(e));
        break;
    case QEvent::FocusOut:
        apagar_tudo();
        break;
    default:
        break;
    }
}

void Teclado::apagar_tudo() {
    pressionadas_.clear();
    for (int n = 1; n <= 18; ++n)
        acender(n, false);
}

} // namespace quarvel::tape
