#pragma once
// Excecoes: the application object, which is the one place where an error
// that escaped a command or an event handler ends up. ExcecoesException
// saves the counted values, shows the program-error report and ends the
// event loop; there is no way back into the program after it.
#include <QApplication>
#include <functional>

namespace quarvel::app {

class Excecoes : public QApplication {
    Q_OBJECT
  public:
    Excecoes(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;

    // Writes the tape as a recovery file and gives its path (empty on failure).
    std::function<QString()> salvar_recuperacao;
    // Shows the report; FormErro, modal, unless a test replaces it.
    std::function<void(const QString& mensagem, quint32 endereco, const QString& salvo_em)> mostrar;

    void ExcecoesException(const QString& mensagem);
    bool terminou_por_erro() const { return relatado_; }

  private:
    bool relatado_ = false;
};

// Where the last error was raised: the offset of the throwing code inside its
// module, so `addr2line -e quarvel 0x...` names the source line. Always 0 in
// a build without QUARVEL_ENDERECO_ERRO.
quint32 endereco_ultimo_erro();

} // namespace quarvel::app
