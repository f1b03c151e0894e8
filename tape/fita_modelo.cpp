#include "tape/fita_modelo.h"

#include "calc/dinheiro.h"

#include <stdexcept>

namespace quarvel::tape {

FitaModelo::FitaModelo(QObject* parent) : QAbstractListModel(parent) {}

QModelIndex FitaModelo::index(int row, int column, const QModelIndex& parent) const {
    const bool dentro = row >= 0 && column == 0 && !parent.isValid() &&
                        static_cast<std::size_t>(row) < fita_.tamanho();
    return dentro ? createIndex(row, 0) : QModelIndex();
}

int FitaModelo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fita_.tamanho());
}

QVariant FitaModelo::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const auto linha = static_cast<std::size_t>(index.row());
    if (index.row() < 0 || linha >= fita_.tamanho()) return {};
    return QString::fromStdString(fita_.linha(linha));
}

Qt::ItemFlags FitaModelo::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void FitaModelo::acrescentar_varios(const std::string& bruto, std::size_t vezes) {
    // The refusals come before the views are told rows are coming.
    if (!fita_.cabe(vezes)) throw std::length_error(kMensagemMaximo);
    calc::linha_fita(bruto);
    if (vezes == 0) return;
    const int primeira = rowCount();
    beginInsertRows({}, primeira, primeira + static_cast<int>(vezes) - 1);
    fita_.acrescentar_varios(bruto, vezes);
    endInsertRows();
    avisar({Alteracao::Tipo::Acrescentar, 0, vezes, bruto});
}

void FitaModelo::substituir(std::size_t i, const std::string& bruto) {
    fita_.substituir(i, bruto);
    const QModelIndex indice = index(static_cast<int>(i));
    emit dataChanged(indice, indice, {Qt::DisplayRole});
    avisar({Alteracao::Tipo::Substituir, i, 1, bruto});
}

void FitaModelo::remover(std::size_t i) {
    if (i >= fita_.tamanho()) throw std::out_of_range(kForaDaFita);
    beginRemoveRows({}, static_cast<int>(i), static_cast<int>(i));
    fita_.remover(i);
    endRemoveRows();
    avisar({Alteracao::Tipo::Remover, i, 1, {}});
}

void FitaModelo::inserir(std::size_t i, const std::string& bruto) {
    if (!fita_.cabe(1)) throw std::length_error(kMensagemMaximo);
    if (i > fita_.tamanho()) throw std::out_of_range(kForaDaFita);
    calc::linha_fita(bruto); // throws before any view hears of it
    beginInsertRows({}, static_cast<int>(i), static_cast<int>(i));
    fita_.inserir(i, bruto);
    endInsertRows();
    avisar({Alteracao::Tipo::Inserir, i, 1, bruto});
}

void FitaModelo::cortar(std::size_t n) {
    if (n > fita_.tamanho()) throw std::out_of_range(kForaDaFita);
    if (n == fita_.tamanho()) return;
    beginRemoveRows({}, static_cast<int>(n), rowCount() - 1);
    fita_.cortar(n);
    endRemoveRows();
    avisar({Alteracao::Tipo::Cortar, n, 1, {}});
}

void FitaModelo::limpar() {
    beginResetModel();
    fita_.limpar();
    endResetModel();
    avisar({});
}

void FitaModelo::avisar(Alteracao alteracao) {
    emit alterou(alteracao);
    emit alterada();
}

void FitaModelo::trocar(std::vector<std::string> brutos, std::vector<std::string> linhas) {
    beginResetModel();
    try {
        fita_.trocar(std::move(brutos), std::move(linhas));
    } catch (...) {
        endResetModel(); // the tape is as it was; the views read it again
        throw;
    }
    endResetModel();
    avisar({});
}

} // namespace quarvel::tape
