#include "gravacao/motivos.h"

#include <cerrno>
#include <cstring>

namespace quarvel::gravacao {

std::string motivo_do_sistema(int numero) {
    struct Motivo {
        int numero;
        const char* texto;
    };
    static const Motivo motivos[] = {
        {ENOSPC, "Não há espaço disponível no dispositivo"},
        {EDQUOT, "Cota de disco excedida"},
        {EIO, "Erro de entrada/saída"},
        {EACCES, "Permissão negada"},
        {EPERM, "Operação não permitida"},
        {EROFS, "Sistema de arquivos somente para leitura"},
        {ENOENT, "Arquivo ou pasta inexistente"},
        {ENOTDIR, "Não é uma pasta"},
        {EISDIR, "É uma pasta"},
        {ENAMETOOLONG, "Nome de arquivo muito longo"},
        {ELOOP, "Ligações simbólicas demais no caminho"},
        {EFBIG, "Arquivo grande demais"},
        {EMFILE, "Arquivos abertos demais neste programa"},
        {ENFILE, "Arquivos abertos demais no sistema"},
        {EXDEV, "Ligação entre sistemas de arquivos diferentes"},
        {ETXTBSY, "Arquivo em uso por um programa em execução"},
        {EBUSY, "Dispositivo ou recurso ocupado"},
        {EEXIST, "O arquivo já existe"},
        {ENOMEM, "Memória insuficiente"},
        {EINVAL, "Argumento inválido"},
        {EAGAIN, "Recurso temporariamente indisponível"},
        {ENXIO, "Dispositivo ou endereço inexistente"},
        {ENODEV, "Dispositivo inexistente"},
        {ESTALE, "Arquivo remoto não está mais disponível"},
        {ENOTCONN, "O sistema de arquivos remoto não está conectado"},
        {EMLINK, "Ligações demais"},
        {ENOTEMPTY, "A pasta não está vazia"},
        {EBADF, "Descritor de arquivo inválido"},
        {EPIPE, "O pipe foi fechado por quem o lia"},
        {ENOTSUP, "Operação não suportada"},
        {ETIMEDOUT, "O destino não recebeu os dados a tempo"},
    };
    for (const Motivo& m : motivos)
        if (m.numero == numero) return m.texto;
    return std::strerror(numero);
}

} // namespace quarvel::gravacao
