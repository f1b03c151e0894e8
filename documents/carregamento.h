#pragma once
// What every load of the window shares: the file read whole, with the
// warning that names it when it cannot be, and form_loading shown while a
// long load runs, with the other windows disabled.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace quarvel::documents {

class DialogosDocumento;
class FormLoading;

class Carregamento {
  public:
    Carregamento(DialogosDocumento& dialogos, QWidget* dono) : dialogos_(dialogos), dono_(dono) {}

    // The bytes, or nothing after the warning. so_arquivo_comum: a backup,
    // read only as a regular file, never through a symbolic link.
    std::optional<QByteArray> ler(const QString& caminho, bool so_arquivo_comum = false);

    // Saves through the checked writer. Into a pipe or a device, whose
    // reader may take its time, the save runs away from the window, behind
    // the loading window (Alt+F4 gives it up), for at most
    // gravacao::kEsperaMaximaMs in all (QUARVEL_PRAZO_GRAVACAO_MS sets
    // another limit, in milliseconds); a regular file is written here.
    bool gravar(const QString& caminho, const QByteArray& bytes, QString* erro);

    // Runs `carga` behind the loading window.
    void com_janela_de_espera(const std::function<void(FormLoading&)>& carga);

    // A load is running: the tape is not yet the new one, so no backup tick
    // may write it, and the window must not go away under it.
    bool ativo() const { return ativo_; }

  private:
    DialogosDocumento& dialogos_;
    QWidget* dono_;
    bool ativo_ = false;
};

} // namespace quarvel::documents
