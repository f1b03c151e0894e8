#!/usr/bin/python3
"""Types on the real Quarvel with Orca listening, and checks what Orca said.

Run by orca_fala.sh inside its own X server and D-Bus session. Orca writes
every utterance to its debug log as a "SPEECH OUTPUT: '...'" line; the log
goes through a pseudo-terminal, so Python inside Orca writes it line by line
as it speaks. Each row of the table is keys typed with xdotool and the texts
Orca must say afterwards; a row marked as a change of the tape must also be
said within a second of the last key.
"""
import datetime
import os
import pty
import re
import subprocess
import sys
import threading
import time

quarvel, rascunho = sys.argv[1], sys.argv[2]
falas = []  # (moment of the utterance, text)
trava = threading.Condition()
# "14:02:44.42 - SPEECH OUTPUT: 'total R$ 1.834,00.'{'established': False}"
LINHA_FALA = re.compile(r"^(\d\d:\d\d:\d\d\.\d+) - SPEECH OUTPUT: '(.*)' ?\[?\{")


def ler_log(mestre, arquivo):
    """Keeps Orca's log (its pseudo-terminal) in a file and its utterances in `falas`."""
    resto = b""
    with open(arquivo, "wb") as saida:
        while True:
            try:
                bloco = os.read(mestre, 65536)
            except OSError:
                return
            if not bloco:
                return
            saida.write(bloco)
            resto += bloco
            *linhas, resto = resto.split(b"\n")
            for bruta in linhas:
                m = LINHA_FALA.match(bruta.decode("utf-8", "replace").rstrip("\r"))
                if m:
                    hoje = datetime.date.today()
                    quando = datetime.datetime.combine(
                        hoje, datetime.time.fromisoformat(m.group(1))).timestamp()
                    with trava:
                        falas.append((quando, m.group(2)))
                        trava.notify_all()


def iniciar_orca():
    mestre, escravo = pty.openpty()
    orca = subprocess.Popen(
        ["orca", "-u", os.path.join(rascunho, "orca"), "--debug-file", "/dev/stdout"],
        stdin=subprocess.DEVNULL, stdout=escravo, stderr=escravo, start_new_session=True)
    os.close(escravo)
    threading.Thread(target=ler_log, args=(mestre, os.path.join(rascunho, "orca.log")),
                     daemon=True).start()
    return orca


def esperar_fala(desde, contem, segundos):
    """The first utterance after index `desde` that contains `contem`, or None."""
    fim = time.monotonic() + segundos
    with trava:
        while True:
            for quando, texto in falas[desde:]:
                if contem in texto:
                    return quando, texto
            resta = fim - time.monotonic()
            if resta <= 0:
                return None
            trava.wait(resta)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def teclar(passos):
    """Each step: "t:TEXT" types TEXT, anything else is a key (or keys) for `xdotool key`."""
    for passo in passos:
        if passo.startswith("t:"):
            xdotool("type", "--delay", "60", passo[2:])
        else:
            xdotool("key", "--delay", "80", *passo.split())
        time.sleep(0.25)


# The table: name, keys, texts Orca must say (in any order, each in some
# utterance), and when the first text is due: within a second of the last
# key (TECLA), or, for the loads, within a second of Orca reading the main
# window again (JANELA): the loading window disables and enables every
# control, and Orca takes a second or more over those events before it
# reads the window and the announcement. None: no time limit.
# The words of 1.834 come from the amount-in-words module.
TECLA, JANELA = "tecla", "janela"
MENU = "alt+e"  # Edições
# Orca 48 (Debian 13) keeps Alt+BackSpace for itself: it turns its bypass
# mode on ("Orca command keys off.") and the program never sees the key.
# There "Desfazer na Fita" is reached through its menu, the first item of
# Edições; Orca 43 (Debian 12) still passes the key on.
try:
    import importlib.util
    ORCA_TOMA_ALT_BACKSPACE = importlib.util.find_spec("orca.bypass_mode_manager") is not None
except ImportError:
    ORCA_TOMA_ALT_BACKSPACE = False
DESFAZER = [MENU, "Return"] if ORCA_TOMA_ALT_BACKSPACE else ["alt+BackSpace"]
MIL_OITOCENTOS = "UM MIL E OITOCENTOS E TRINTA E QUATRO REAIS"
TABELA = [
    ("inicio", [], ["valor digitado"], None),
    ("adicionar_1234", ["t:1234", "Return"], ["total R$ 1.234,00"], TECLA),
    ("adicionar_12x50", ["t:12*50", "Return"], ["total R$ 1.834,00"], TECLA),
    ("deletar", ["Delete"], ["total R$ 1.234,00"], TECLA),
    ("adicionar_de_novo", ["t:12*50", "Return"], ["total R$ 1.834,00"], TECLA),
    ("linha_acima", ["Up"], ["linha 1: 1.234,00"], TECLA),
    ("linha_abaixo", ["Down"], ["linha 2: 600,00"], TECLA),
    ("extenso_pedido", ["ctrl+l"], ["total por extenso: " + MIL_OITOCENTOS], TECLA),
    ("tab_fita", ["Tab"], ["fita de valores", "linha 2: 600,00"], None),
    ("tab_total", ["Tab"], ["total R$ 1.834,00"], None),
    ("tab_extenso", ["Tab"], ["total por extenso: " + MIL_OITOCENTOS], None),
    ("volta_ao_campo", ["shift+Tab", "shift+Tab", "shift+Tab"], ["valor digitado"], None),
    # Flat review from the entry field down, line by line: the keypad's 8
    # and 9 with NumLock off.
    ("revisao_plana", ["KP_Up"] + ["KP_Page_Up"] * 6,
     ["total R$ 1.834,00", "total por extenso: " + MIL_OITOCENTOS], None),
    ("menu_edicoes", [MENU], ["Desfazer na Fita: Adicionar 600,00"], None),
    ("modificar_dialogo", ["m"], ["Modificar Valor"], None),
    ("modificar", ["t:700", "Return"], ["total R$ 1.934,00"], TECLA),
    ("repetir_dialogo", ["t:5", "ctrl+r"], ["Repetir Valor"], None),
    ("repetir", ["ctrl+a", "t:3", "Return"], ["total R$ 1.949,00"], TECLA),
    ("desfazer", DESFAZER, ["total R$ 1.934,00"], TECLA),
    ("refazer", ["alt+shift+BackSpace"], ["total R$ 1.949,00"], TECLA),
    ("limpar", ["shift+Delete"], ["total R$ 0,00"], TECLA),
    ("abrir_dialogo", ["ctrl+o"], ["Abrir dialog"], None),
    ("abrir", ["t:" + os.path.join(rascunho, "malote.qvl"), "Return"],
     ["total R$ 350,50"], JANELA),
    ("menu_edicoes_de_novo", [MENU], ["Limpar Tudo"], None),
    ("importar_dialogo", ["i"], ["Abrir dialog"], None),
    ("importar", ["t:" + os.path.join(rascunho, "valores.txt"), "Return"],
     ["total R$ 30,00"], JANELA),
]


def main():
    orca = iniciar_orca()
    programa = None
    falhas = []
    try:
        if esperar_fala(0, "Screen reader on", 30) is None:
            print("pulado: o Orca não começou a falar")
            return 77
        with open(os.path.join(rascunho, "quarvel.log"), "wb") as log:
            programa = subprocess.Popen([quarvel], stdout=log, stderr=log)
        for nome, teclas, esperados, prazo in TABELA:
            menu = teclas == [MENU]
            if menu:
                time.sleep(1.0)  # after a load the window takes a moment to take keys again
            desde = len(falas)
            antes = time.time()
            teclar(teclas)
            apertou = time.time()
            # A menu that did not open (the key came while the window was busy)
            # is asked for once more.
            if menu and esperar_fala(desde, esperados[0], 4) is None:
                teclar(["Escape", MENU])
            for texto in esperados:
                achada = esperar_fala(desde, texto, 30 if nome == "inicio" else 8)
                if achada is None:
                    falhas.append(f"{nome}: o Orca não disse {texto!r}")
                    continue
                if prazo is None or texto != esperados[0]:
                    continue
                desde_quando = apertou
                if prazo == JANELA:
                    with trava:
                        janela = [q for q, t in falas[desde:] if t.startswith("Quarvel 1.1")]
                    desde_quando = janela[0] if janela else apertou
                if achada[0] - desde_quando > 1.0:
                    falhas.append(f"{nome}: {texto!r} dito {achada[0] - desde_quando:.2f} s depois")
            time.sleep(0.8)
            with trava:
                ditas = [t for q, t in falas[desde:] if q >= antes - 0.1]
            print(f"{nome}: {' | '.join(ditas)}", flush=True)
        time.sleep(0.5)
    finally:
        for p in (programa, orca):
            if p is not None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
    for f in falhas:
        print("FALHA:", f)
    if falhas:
        print(f"{len(falhas)} falha(s)")
        return 1
    print(f"o Orca disse o esperado em {len(TABELA)} passos")
    return 0


if __name__ == "__main__":
    sys.exit(main())
