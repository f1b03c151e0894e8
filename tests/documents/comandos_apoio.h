#pragma once
// The document, text file and backup commands over their narrow contexts,
// with the few real widgets those contexts name and the dialogs answered from
// a script: no main window. What the window wires around them (the switch
// and the interval box, the settings' validators, values added through the
// tape's own command) is wired here the same way.
#include "backup/comandos_backup.h"
#include "backup/intervalo_backup.h"
#include "backup/pasta_backup.h"
#include "documents/carregamento.h"
#include "documents/comandos_documento.h"
#include "documents/comandos_texto.h"
#include "documents/escritor_fila.h"
#include "documents/validador_configuracao.h"
#include "tape/campo_valor.h"
#include "tape/comandos_fita.h"
#include "tape/desfazer.h"
#include "tape/total.h"
#include "tape/visao_fita.h"
#include "tests/apoio/arquivos.h"
#include "tests/apoio/ativar_qt.h"
#include "tests/apoio/impressao_qt.h"
#include "tests/apoio/lista_qt.h"
#include "tests/apoio/roteiro.h"
#include "tests/documents/roteiro_documento.h"
#include "tests/tape/roteiro_fita.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace quarvel::documents {

// The tape's and the documents' questions on one port, with one message box
// for both, as the application's dialogs have them.
class DialogosComandos : public tape::DialogosFita, public DialogosDocumento {
  public:
    void aviso(QWidget* dono, const QString& texto) override = 0;
};

using RoteiroComandos =
    testes::AvisosSobre<tape::RoteiroFitaSobre<RoteiroDocumentoSobre<DialogosComandos>>>;

class ComandosTeste : public ::testing::Test {
  protected:
    using Resposta = DialogosDocumento::Resposta;

    void SetUp() override {
        ASSERT_TRUE(pasta.isValid());
        qputenv("QUARVEL_PASTA_BACKUP", caminho("Backup").toUtf8());
        for (int i = 0; i < kIntervalosBackup; ++i)
            qtdetempo->addItem(QString::number(backup::minutos_do_indice(i)));
        qtdetempo->setCurrentIndex(0);
        for (QLineEdit* c : {cabecalho, rodape, nome_arquivo})
            ValidadorConfiguracao::instalar(c);
        QObject::connect(d01, &QCheckBox::toggled,
                         [this](bool ligada) { comandos_backup.chave_mudou(ligada); });
        QObject::connect(qtdetempo, &QComboBox::activated,
                         [this](int indice) { comandos_backup.intervalo_escolhido(indice); });
        comandos_backup.ao_mudar_estado([this](const QString& texto) { estado_backup = texto; });
        dono.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dono));
        ASSERT_TRUE(testes::ativar(&dono));
        entrada->setFocus();
    }

    // A value added as the user adds it.
    void adicionar(const QString& texto) {
        entrada->setText(texto);
        comandos_fita.add_valor();
    }
    // One backup tick, its write done and told.
    void tique_backup() {
        comandos_backup.tique();
        comandos_backup.esperar();
    }
    QStringList linhas() const { return testes::lista_qt(fita.linhas()); }
    QStringList brutos() const { return testes::lista_qt(fita.brutos()); }
    QString total() const {
        return QString::fromStdString(tape::textos_total(fita.brutos()).figuras);
    }
    QString caminho(const char* nome) const { return pasta.filePath(QString::fromUtf8(nome)); }
    QString pasta_backup() const { return caminho("Backup"); }

    QTemporaryDir pasta;
    tape::FitaModelo fita;
    tape::EstadoFita estado;
    RoteiroComandos roteiro;
    RoteiroComandos* dlg = &roteiro;

    // The widgets the contexts name, owned by a plain window.
    QWidget dono;
    tape::CampoValor* entrada = new tape::CampoValor(&dono);
    tape::VisaoFita* visao = new tape::VisaoFita(fita, &dono);
    QLineEdit* cabecalho = new QLineEdit(&dono);
    QLineEdit* rodape = new QLineEdit(&dono);
    QLineEdit* nome_arquivo = new QLineEdit(&dono);
    QCheckBox* d01 = new QCheckBox(&dono);
    QComboBox* qtdetempo = new QComboBox(&dono);
    QUndoStack historico;

    // What the commands told: the file's name at each change, the backup's
    // state after each tick.
    QStringList nomes;
    QString estado_backup;

    CamposConfiguracao campos{*cabecalho, *rodape, *nome_arquivo, *d01, *qtdetempo};
    Carregamento carregamento{roteiro, &dono};
    tape::ComandosFita comandos_fita{
        tape::ContextoFita{fita, estado, *entrada, *visao, roteiro, &dono, historico}};
    ComandosTexto comandos_texto{ContextoTexto{
        fita, *entrada, *visao, carregamento, roteiro, &dono,
        [this](std::vector<std::string> b, std::vector<std::string> l, const QString& passo) {
            historico.push(
                new tape::Troca({fita, estado, *visao}, std::move(b), std::move(l), false, passo));
        }}};
    // The writer thread, made before the commands that hand it work.
    EscritorFila escritor;
    backup::ComandosBackup comandos_backup{backup::ContextoBackup{
        fita, campos, comandos_texto, carregamento, roteiro, &dono, escritor}};
    ComandosDocumento comandos_documento{ContextoDocumento{
        fita, comandos_fita, estado, *entrada, *visao, campos,
        [this](const Configuracao& c) { comandos_backup.aplicar(c); },
        [](QString* erro) { return backup::pasta_backup(erro); }, carregamento, roteiro, &dono,
        [this] { nomes << comandos_documento.nome(); }, historico}};
};

} // namespace quarvel::documents
