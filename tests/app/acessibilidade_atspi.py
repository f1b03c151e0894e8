#!/usr/bin/python3
"""Reads the running Quarvel through AT-SPI, as a screen reader does.

Walks the main window and the dialogs it opens (modify, find, repeat,
restore, about, print preview) and fails on every control that shows or can
take the focus and has no name. Types 12*50 on the keypad, adds it, and
checks that the status bar's notification shows the new total.
Run by acessibilidade_atspi.sh inside its own X server and D-Bus session.
"""
import sys
import time

import pyatspi
from gi.repository import Atspi, Gio, GLib

# The name the registry gives a push button: "push button" up to
# at-spi2-core 2.46 (Debian 12), "button" in 2.56 (Debian 13). The role
# itself is the same.
BOTAO = Atspi.role_get_name(Atspi.Role.PUSH_BUTTON)

# Roles a screen reader stops at. Containers (filler, panel, scroll pane,
# separator) are passed through and may go unnamed; a scroll bar counts only
# when the focus can reach it, a frame only as a window (inside one it is a
# drawn border or line, Qt's QFrame).
CONTROLES = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text", "entry",
    "password text", "spin button", "list", "list box", "list item", "menu", "menu item",
    "check menu item", "radio menu item", "menu bar", "tool bar", "status bar", "page tab",
    "page tab list", "slider", "scroll bar", "table", "table cell", "tree", "tree table",
    "tree item", "link", "label", "static", "image", "dialog", "frame", "window",
    "progress bar", "push button menu", BOTAO,
}

falhas = []
contexto = GLib.MainContext.default()


def falha(texto):
    falhas.append(texto)
    print("FALHA:", texto, flush=True)


def girar(segundos, ate=lambda: False):
    """Lets the AT-SPI events arrive for a while, or until `ate` holds."""
    fim = time.monotonic() + segundos
    while time.monotonic() < fim:
        while contexto.iteration(False):
            pass
        if ate():
            return True
        time.sleep(0.02)
    return ate()


def filhos(obj):
    for i in range(obj.childCount):
        c = obj.getChildAtIndex(i)
        if c is not None:
            yield c


def tem(estado, obj):
    return obj.getState().contains(estado)


def rotulos(obj):
    """Names of the objects that label obj (how Qt names a combo box's purpose)."""
    nomes = []
    for r in obj.getRelationSet():
        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            nomes += [r.getTarget(i).name for i in range(r.getNTargets())]
    return nomes


def falado(obj):
    """What a screen reader says the control is."""
    if obj.getRoleName() == "combo box":
        return " ".join(rotulos(obj) + [obj.name]).strip()
    return obj.name.strip()


def descrever(obj):
    return f"{obj.getRoleName()} {obj.name!r}"


def sem_nome(obj, caminho=""):
    aqui = f"{caminho} > {descrever(obj)}" if caminho else descrever(obj)
    faltas = []
    papel = obj.getRoleName()
    focavel = tem(pyatspi.STATE_FOCUSABLE, obj)
    conta = (papel in CONTROLES and (papel != "scroll bar" or focavel)
             and (papel != "frame" or not caminho))
    if conta and (tem(pyatspi.STATE_VISIBLE, obj) or focavel) and not falado(obj):
        faltas.append(aqui)
    for c in filhos(obj):
        faltas += sem_nome(c, aqui)
    return faltas


def verificar_nomes(janela):
    faltas = sem_nome(janela)
    for f in faltas:
        falha(f"sem nome: {f}")
    return faltas


def achar(obj, papel, nome):
    if obj.getRoleName() == papel and obj.name == nome:
        return obj
    for c in filhos(obj):
        r = achar(c, papel, nome)
        if r is not None:
            return r
    return None


def aplicacao():
    fim = time.monotonic() + 30
    while time.monotonic() < fim:
        area = pyatspi.Registry.getDesktop(0)
        for app in filhos(area):
            if app.name == "Quarvel":
                # Once it shows, as a user meets it: the window exists on the
                # bus while the splash still covers the start, and a command
                # pressed then is taken before the window is there to speak.
                for j in filhos(app):
                    if (j.getRoleName() == "frame" and j.name.startswith("Quarvel 1.1")
                            and tem(pyatspi.STATE_SHOWING, j)):
                        return app, j
        time.sleep(0.2)
    print("FALHA: a janela do Quarvel não apareceu no barramento de acessibilidade")
    sys.exit(1)


# A command that opens a modal dialog only answers once the dialog closes,
# so the press is sent without waiting for its reply, straight on the
# accessibility bus.
def barramento_a11y():
    sessao = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    endereco = sessao.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000,
                                None).unpack()[0]
    return Gio.DBusConnection.new_for_address_sync(
        endereco, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)


a11y = barramento_a11y()


def apertar(obj, nome=""):
    if obj is None:
        falha(f"nada para apertar: {nome!r} não encontrado")
        return False
    a11y.call(obj.app.bus_name, obj.path, "org.a11y.atspi.Action", "DoAction",
              GLib.Variant("(i)", (0,)), None, Gio.DBusCallFlags.NONE, -1, None, None, None)
    return True


def janela_aberta(app, nome):
    for j in filhos(app):
        if j.name == nome and tem(pyatspi.STATE_VISIBLE, j):
            return j
    return None


def dialogo(app, janela, papel, comando, titulo, fechar):
    """Opens a dialog by its command, checks its names, closes it."""
    if not apertar(achar(janela, papel, comando), comando):
        return
    d = None

    def aberta():
        nonlocal d
        d = janela_aberta(app, titulo)
        return d is not None

    if not girar(10, aberta):
        falha(f"{comando!r} não abriu {titulo!r}")
        return
    verificar_nomes(d)
    if not apertar(achar(d, BOTAO, fechar), fechar):
        return
    if not girar(10, lambda: janela_aberta(app, titulo) is None):
        falha(f"{titulo!r} não fechou com {fechar!r}")


def main():
    anuncios = []

    def ao_anunciar(e):
        if e.detail1 and e.source.getRoleName() == "notification":
            anuncios.append(e.source.name)

    # Qt 6.8 announces through AT-SPI announcements instead.
    def ao_anuncio(e):
        if isinstance(e.any_data, str):
            anuncios.append(e.any_data)

    pyatspi.Registry.registerEventListener(ao_anunciar, "object:state-changed:showing")
    pyatspi.Registry.registerEventListener(ao_anuncio, "object:announcement")
    app, janela = aplicacao()
    verificar_nomes(janela)

    # The names a screen reader user hears for the keypad, the fields and the
    # window's parts, found where the screen reader finds them.
    esperados = [
        (BOTAO, n) for n in ("zero", "um", "dois", "três", "quatro", "cinco", "seis",
                                     "sete", "oito", "nove", "vírgula", "mais", "menos",
                                     "vezes", "dividido por", "abre parêntese",
                                     "fecha parêntese", "adicionar valor")
    ] + [("text", "valor digitado"), ("text", "título do cabeçalho"),
         ("text", "título do rodapé"), ("text", "nome do arquivo de backup"),
         ("label", "total 0,00"), ("label", "total por extenso: ZERO"),
         ("list", "fita de valores"),
         ("tool bar", "barra de ferramentas"), ("menu bar", "menu principal"),
         ("status bar", "barra de estado")]
    for papel, nome in esperados:
        if achar(janela, papel, nome) is None:
            falha(f"nenhum {papel} chamado {nome!r}")
    grupo = achar(janela, "panel", "Backup")
    combo = next((c for c in filhos(grupo) if c.getRoleName() == "combo box"), None) if grupo else None
    if combo is None or "intervalo do backup em minutos" not in rotulos(combo):
        falha("a caixa do intervalo não é rotulada 'intervalo do backup em minutos'")

    # 12*50 on the keypad, then "adicionar valor": the total is announced.
    girar(0.5)
    anuncios.clear()
    teclou = True
    for nome in ("um", "dois", "vezes", "cinco", "zero", "adicionar valor"):
        teclou = teclou and apertar(achar(janela, BOTAO, nome), nome)
        girar(0.1)
    esperado = ["total R$ 600,00"]
    if teclou and not girar(10, lambda: all(a in anuncios for a in esperado)):
        falha(f"anúncios esperados {esperado}, recebidos {anuncios}")

    # The dialogs, opened as a screen-reader user would: by their commands.
    dialogo(app, janela, BOTAO, "Modificar", "Modificar Valor", "Cancelar")
    dialogo(app, janela, BOTAO, "Localizar Valor", "Buscar Valor", "Cancelar")
    dialogo(app, janela, "menu item", "Restaurar / Limpar Backup", "Restaurar / Limpar Backup",
            "Cancelar")
    dialogo(app, janela, "menu item", "Sobre", "Sobre", "OK")
    dialogo(app, janela, BOTAO, "Visualizar Impressão", "Print Preview", "fechar")
    # Repeating needs something in the entry field.
    if apertar(achar(janela, BOTAO, "sete"), "sete"):
        girar(0.3)
        dialogo(app, janela, "menu item", "Repetir Valor", "Repetir Valor", "Cancelar")

    if falhas:
        print(f"{len(falhas)} falha(s)")
        return 1
    print("árvore de acessibilidade verificada: janela principal e 6 diálogos")
    return 0


if __name__ == "__main__":
    sys.exit(main())
