#pragma once
// The documents' dialogs answered from a script: what was asked is recorded
// and the answers are taken in order. RoteiroDocumentoSobre<Porta> adds this
// to any port built on documents::DialogosDocumento, so the application's
// scripted dialogs share it.
#include "documents/dialogos_documento.h"
#include "tests/apoio/roteiro.h"

#include <QStringList>
#include <deque>

namespace quarvel::documents {

template <class Porta> class RoteiroDocumentoSobre : public Porta {
  public:
    using Resposta = DialogosDocumento::Resposta;

    // What was asked, in order.
    QStringList perguntas;
    QStringList extensoes_abrir;  // the extension each Open dialog adds
    QStringList extensoes_salvar; // and each Save dialog
    QStringList nomes_backup;     // what form_restaurar listed last
    QString aviso_backup;         // and what it said of the folder

    // The answers, taken in order; an empty queue answers "cancel".
    std::deque<Resposta> respostas;
    std::deque<QString> arquivos_abrir;
    std::deque<QString> arquivos_salvar;
    std::deque<QString> backups;      // form_restaurar; "" = nothing chosen
    bool limpar_no_restaurar = false; // press "Limpar a pasta Backup"
    std::deque<bool> recuperar;       // the recovery question; empty = Não
    QStringList perguntas_recuperacao;

    Resposta perguntar(QWidget*, const QString& texto) override {
        perguntas << texto;
        return testes::tirar(respostas, Resposta::Cancelar);
    }
    bool perguntar_recuperacao(QWidget*, const QString& texto) override {
        perguntas_recuperacao << texto;
        return testes::tirar(recuperar, false);
    }
    QString abrir_arquivo(QWidget*, const QString&, const QString& extensao) override {
        extensoes_abrir << extensao;
        return testes::tirar(arquivos_abrir, QString());
    }
    QString salvar_arquivo(QWidget*, const QString&, const QString& extensao) override {
        extensoes_salvar << extensao;
        return testes::tirar(arquivos_salvar, QString());
    }
    QString escolher_backup(QWidget*, const QStringList& nomes, const QString& aviso,
                            const std::function<void()>& limpar) override {
        nomes_backup = nomes;
        aviso_backup = aviso;
        if (limpar_no_restaurar) {
            limpar();
            return {};
        }
        return testes::tirar(backups, QString());
    }
};

using RoteiroDocumento = testes::AvisosSobre<RoteiroDocumentoSobre<DialogosDocumento>>;

} // namespace quarvel::documents
