#!/usr/bin/python3
"""diario_morte.py QUARVEL SANITIZADA FALHAS

Starts the real program in a scratch X server, types amounts with xdotool and
kills it with SIGKILL: after an add, in the middle of a 5,000-line repeat,
during a load and during a save. Then starts it again, answers "Não" to the
recovery question and reads the recuperacao-*.qvl it keeps in the Backup
folder: the tape offered back must be the tape after the last completed
command. The moment of each kill is reached from outside the program: the
fault library FALHAS (tests/falhas) is preloaded with QUARVEL_FALHAS_PARAR,
which stops the process (SIGSTOP) after a chosen system call on a chosen file.

Exits 77 (skipped) when Xvfb or xdotool are missing (scripts/deps installs
them) and in a sanitizer build (the journal's rules are tested in-process).
"""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

quarvel = sys.argv[1]
if sys.argv[2] == "1":
    print("pulado: compilação com sanitizadores")
    sys.exit(77)
falhas_lib = sys.argv[3]
for ferramenta in ("Xvfb", "xdotool"):
    if not shutil.which(ferramenta):
        print(f"pulado: {ferramenta} ausente (scripts/deps o instala)")
        sys.exit(77)

LIMITE = 30  # seconds for any one thing to happen


def calculo(valores):
    """A calculation file with these raw values."""
    corpo = "".join(v + "\r\n" for v in valores)
    # INICIO and FIM: the first and last value lines, counted from 0.
    cabeca = f"[CONFIG]\r\n[LER]\r\nINICIO=5\r\nFIM={4 + len(valores)}\r\n\r\n"
    return (cabeca + corpo).encode("cp1252")


def valores_de(caminho):
    with open(caminho, "rb") as f:
        dados = f.read()
    return dados.split(b"\r\n\r\n", 1)[1].decode("cp1252").split("\r\n")[:-1]


class Sessao:
    """One scratch X server and one user's folders for a case."""

    def __init__(self):
        self.pasta = tempfile.mkdtemp(prefix="quarvel-morte-")
        self.processos = []
        # A display number of its own, away from the low ones other X servers
        # on the machine take; Xvfb writes it back once it accepts clients.
        for _ in range(20):
            leitura, escrita = os.pipe()
            self.xvfb = subprocess.Popen(
                ["Xvfb", f":{random.randint(100, 899)}", "-displayfd", str(escrita), "-screen", "0",
                 "1024x768x24", "-nolisten", "tcp"], pass_fds=(escrita,), stderr=subprocess.DEVNULL)
            os.close(escrita)
            with os.fdopen(leitura) as f:
                numero = f.readline().strip()
            if numero:
                break
            self.xvfb.wait()
        else:
            raise AssertionError("o Xvfb não iniciou")
        self.tela = ":" + numero
        os.makedirs(os.path.join(self.pasta, "run"), mode=0o700)
        self.backup = os.path.join(self.pasta, "Backup")

    def caminho(self, nome):
        return os.path.join(self.pasta, nome)

    def ambiente(self, parada):
        env = dict(os.environ)
        env.update(DISPLAY=self.tela, QT_QPA_PLATFORM="xcb", HOME=self.pasta,
                   XDG_RUNTIME_DIR=self.caminho("run"), XDG_CONFIG_HOME=self.caminho("config"),
                   XDG_DATA_HOME=self.caminho("dados"), QUARVEL_PASTA_BACKUP=self.backup)
        env.pop("QUARVEL_FALHAS_PARAR", None)
        if parada:
            env["LD_PRELOAD"] = ":".join(filter(None, (falhas_lib, env.get("LD_PRELOAD"))))
            env["QUARVEL_FALHAS_PARAR"] = parada
        return env

    def iniciar(self, argumentos=(), parada=None):
        # Right after a client is killed, the X server now and then refuses
        # the next connection; a start that ends at once is tried again.
        for _ in range(5):
            saida = open(self.caminho(f"quarvel-{len(self.processos)}.log"), "w")
            p = subprocess.Popen([quarvel, *argumentos], env=self.ambiente(parada), stdout=saida,
                                 stderr=subprocess.STDOUT)
            self.processos.append(p)
            try:
                p.wait(1)
            except subprocess.TimeoutExpired:
                return p
        return p

    def relato(self):
        """What each program started here said, and how it ended."""
        partes = []
        for i, p in enumerate(self.processos):
            with open(self.caminho(f"quarvel-{i}.log")) as f:
                partes.append(f"--- quarvel {i} (fim: {p.poll()})\n{f.read()}")
        return "\n".join(partes)

    def xdotool(self, *args):
        r = subprocess.run(["xdotool", *args], env=self.ambiente(None), capture_output=True,
                           text=True, timeout=LIMITE)
        return r.stdout.split()

    def janela(self, titulo, fora=()):
        """The id of a shown window whose title matches, other than `fora`."""
        fim = time.monotonic() + LIMITE
        while time.monotonic() < fim:
            ids = [i for i in self.xdotool("search", "--onlyvisible", "--name", titulo)
                   if i not in fora]
            if ids:
                self.xdotool("windowfocus", "--sync", ids[0])
                time.sleep(0.3)
                return ids[0]
            time.sleep(0.1)
        raise AssertionError(f"nenhuma janela '{titulo}'")

    def teclar(self, *teclas):
        self.xdotool("key", "--delay", "80", *teclas)

    def digitar(self, texto):
        """Types the text, each "\n" as Enter."""
        *linhas, resto = texto.split("\n")
        for linha in linhas:
            self.xdotool("type", "--delay", "60", linha)
            self.teclar("Return")
        if resto:
            self.xdotool("type", "--delay", "60", resto)
        time.sleep(0.3)

    def encerrar(self):
        for p in self.processos:
            if p.poll() is None:
                p.kill()
                p.wait()
        self.xvfb.terminate()  # lets it remove its socket and lock
        self.xvfb.wait()
        shutil.rmtree(self.pasta, ignore_errors=True)


def parado(p):
    """Waits until the program is stopped at the chosen call."""
    fim = time.monotonic() + LIMITE
    while time.monotonic() < fim:
        if p.poll() is not None:
            raise AssertionError(f"o programa terminou ({p.returncode}) antes da parada")
        with open(f"/proc/{p.pid}/stat") as f:
            if f.read().rsplit(")", 1)[1].split()[0] == "T":
                return
        time.sleep(0.05)
    raise AssertionError("o programa não chegou à parada")


def matar(p):
    p.send_signal(signal.SIGKILL)
    p.wait()


PRINCIPAL = "Calculador de Vantorel"
# The message boxes' caption, which the splash window has too: a question is
# looked for once the main window is up.
PERGUNTA = "^Quarvel$"


# The journal is sessoes/sessao-<pid>-<n>.diario; its snapshots are written
# into .sessao-…quarvel-XXXXXX beside it and renamed over it, so "/sessao-"
# names the appended journal alone. Each command typed is its own record,
# written and then synced with one fdatasync.
DIARIO = "/sessao-"


def apos_adicao(s):
    p = s.iniciar(parada=f"fdatasync:{DIARIO}:3")  # the third record synced: the third add
    s.janela(PRINCIPAL)
    s.digitar("12*50\n1234,56\n7\n")
    parado(p)
    matar(p)


def no_meio_da_repeticao(s):
    # The repeat's record is the journal's second write; half of it reaches
    # the file, as a power cut leaves it.
    p = s.iniciar(parada=f"write:{DIARIO}:2:metade")
    s.janela(PRINCIPAL)
    s.digitar("5\n2")
    s.teclar("ctrl+r")
    s.janela("^Repetir Valor$")
    s.xdotool("type", "--delay", "60", "5000")
    s.teclar("Return")
    parado(p)
    matar(p)


def durante_a_carga(s):
    p = s.iniciar(parada=f"fdatasync:{DIARIO}:2")
    s.janela(PRINCIPAL)
    s.digitar("3\n4\n")
    parado(p)
    matar(p)
    # Started with a long file: the tape of 3 and 4 is brought back (Sim),
    # the file then opens in its place (Não to saving) and is killed halfway.
    # The loader reads the file in 64 KiB pieces before it reads the values
    # out of them; the first piece of these 126 KiB holds the first 10,943
    # values. It is stopped after that piece: the nearest moment to "10,000
    # values into the load" that a system call marks.
    with open(s.caminho("grande.qvl"), "wb") as f:
        f.write(calculo([str(i) for i in range(1, 20001)]))
    p = s.iniciar([s.caminho("grande.qvl")], parada="read:/grande.qvl:1")
    s.janela(PRINCIPAL)
    pergunta = s.janela(PERGUNTA)
    s.teclar("Return")
    s.janela(PERGUNTA, fora=(pergunta,))
    s.teclar("n")
    parado(p)
    matar(p)


def durante_a_gravacao(s):
    arquivo = s.caminho("pequeno.qvl")
    with open(arquivo, "wb") as f:
        f.write(calculo(["1", "2", "3"]))
    # The save writes the new bytes into .pequeno.qvl.quarvel-XXXXXX beside
    # the file, syncs it and renames it over the file. It is stopped once
    # that first write is done: the save is under way, the file not yet
    # replaced.
    p = s.iniciar([arquivo], parada="write:/.pequeno.qvl.quarvel-:1")
    s.janela(PRINCIPAL)
    s.janela("pequeno.qvl")  # opened
    s.digitar("9\n")
    s.teclar("ctrl+s")
    parado(p)
    matar(p)
    if not [n for n in os.listdir(s.pasta) if n.startswith(".pequeno.qvl.quarvel-")]:
        raise AssertionError("parado fora da gravação: nenhum arquivo temporário")
    if valores_de(arquivo) != ["1", "2", "3"]:
        raise AssertionError("o arquivo mudou antes de ser gravado")


CASOS = [
    # name, what kills it, the tape after the last completed command
    ("depois de uma adição", apos_adicao, ["600", "1234,56", "7"]),
    ("no meio de repetir 5.000 vezes", no_meio_da_repeticao, ["5"]),
    ("durante a carga", durante_a_carga, ["3", "4"]),
    ("durante a gravação", durante_a_gravacao, ["1", "2", "3", "9"]),
]


def oferecido(s):
    """Starts again, answers Não and reads the tape kept in the Backup folder."""
    p = s.iniciar()
    s.janela(PRINCIPAL)
    s.janela(PERGUNTA)
    s.teclar("n")
    fim = time.monotonic() + LIMITE
    while time.monotonic() < fim:
        nomes = [n for n in os.listdir(s.backup) if re.fullmatch(r"recuperacao-.*\.qvl", n)] \
            if os.path.isdir(s.backup) else []
        if nomes:
            matar(p)
            if len(nomes) != 1:
                raise AssertionError(f"mais de uma recuperação: {nomes}")
            return valores_de(os.path.join(s.backup, nomes[0]))
        time.sleep(0.1)
    raise AssertionError("nenhum recuperacao-*.qvl na pasta Backup")


falhas = 0
for nome, matar_em, esperado in CASOS:
    s = Sessao()
    try:
        matar_em(s)
        obtido = oferecido(s)
        if obtido != esperado:
            raise AssertionError(f"oferecido {obtido[:10]}, esperado {esperado}")
        print(f"ok: {nome}", flush=True)
    except (AssertionError, subprocess.TimeoutExpired) as e:
        falhas += 1
        print(f"FALHA: {nome}: {e}\n{s.relato()}", flush=True)
    finally:
        s.encerrar()
sys.exit(1 if falhas else 0)
