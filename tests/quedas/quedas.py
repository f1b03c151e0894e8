#!/usr/bin/python3
"""quedas.py QUARVEL GRAVAR_COMO [--relatorio]

Power cuts during real saves. Each workload runs the checked writer (the
program's own, through the quarvel_apoio_gravar_como helper) under strace,
which records every call that changes the folder or a file's bytes. From that
record every state a power cut can leave on the disk is built:

  - whatever was synced (fsync of the file; fsync of its folder for the
    folder's entries) survives;
  - of a file's writes since its last sync, any prefix reaches the disk, the
    last one torn at a sector, and a file that grew reads zeros past its old
    end when its size got there before its bytes;
  - each change of a folder's entries not yet followed by a sync of that
    folder is kept or dropped.

The journal is recorded from the real window (Xvfb, amounts typed with
xdotool, the program killed); each of its states is started again and the
recovery question answered Não: the tape kept must be the tape after some
typed amount, and all of it once the program was killed after the last
one was synced. That workload is left out when Xvfb or xdotool are
missing.

Identical states are run once. Each is copied into a scratch folder and the
real program reads the document with `quarvel --total`: it must print the
total of a document the user saw saved (the old one while the save ran, the
new one once it returned), or refuse the file with a message that names the
synced copy of the old one. Anything else -- a total of money that never
existed, a file silently lost -- is a wrong state.

Exits 77 (skipped) when strace is missing (scripts/deps installs it).
"""
import hashlib
import itertools
import random
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

quarvel = sys.argv[1]
gravar_como = sys.argv[2]
relatorio = "--relatorio" in sys.argv
if "--sanitizada" in sys.argv:
    # The states are about what reaches the disk, which the sanitizers do
    # not change; under them each of the hundreds of starts is many times slower.
    print("pulado: os estados de queda são lidos na compilação normal")
    sys.exit(77)
if not shutil.which("strace"):
    print("pulado: strace ausente (scripts/deps o instala)")
    sys.exit(77)

SETOR = 512
DOCUMENTO = "malote.qvl"


def calculo(cabecalho, valores):
    """A calculation file as the program writes it."""
    linhas = ["[CONFIG]", f"CABECALHO={cabecalho}", "RODAPE=", "BACKUP=0", "QTDETEMPO=0",
              "TEXTO_BACKUP=", "[LER]"]
    inicio = len(linhas) + 3
    linhas += [f"INICIO={inicio}", f"FIM={inicio + len(valores) - 1}", ""]
    linhas += valores
    return ("\r\n".join(linhas) + "\r\n").encode("cp1252")


# The old document adds up to R$ 4.501.500,00; the new one, without its first
# value, one real less: every value line of it sits three bytes earlier.
ANTIGO = calculo("Malote", [str(i) for i in range(1, 3001)])
NOVO = calculo("Malote", [str(i) for i in range(2, 3001)])
# A backup holds the tape's lines, read back as a text file.
BACKUP_ANTIGO = "".join(f"{i},00\r\n" for i in range(1, 2001)).encode()
BACKUP_NOVO = "".join(f"{i},00\r\n" for i in range(1, 2000)).encode() + b"1999,00\r\n"

# name: (file written, old bytes, new bytes, extra argument, setup)
CARGAS = {
    # A file of one link: a new file renamed over it.
    "renomeando": (DOCUMENTO, ANTIGO, NOVO, None, None),
    # A file with another hard link: rewritten in place behind a synced copy.
    "no_lugar": (DOCUMENTO, ANTIGO, NOVO, None, "ligacao"),
    # A backup: the link at the name is replaced, never followed.
    "backup": ("malote.qvlbackup", BACKUP_ANTIGO, BACKUP_NOVO, "substituir", None),
}

CHAMADAS = ("openat,open,creat,write,pwrite64,writev,fsync,fdatasync,sync_file_range,rename,"
            "renameat,renameat2,unlink,unlinkat,link,linkat,ftruncate,truncate,lseek,close,"
            "mkdir,dup,dup2,dup3,fcntl")


def texto(escrito):
    """A path as strace -xx writes it: quoted, every byte as \\xNN."""
    escrito = escrito.strip('"')
    return re.sub(r"\\x([0-9a-f]{2})", lambda m: chr(int(m.group(1), 16)), escrito).encode(
        "latin-1").decode("utf-8", "surrogateescape")


class Inode:
    def __init__(self, dados=b""):
        self.duravel = dados      # on the disk
        self.volatil = dados      # as the program sees it
        self.pendentes = []       # (offset, bytes) or (None, size) since the last sync

    def escrever(self, pos, dados):
        atual = self.volatil
        if pos > len(atual):
            atual += b"\0" * (pos - len(atual))
        self.volatil = atual[:pos] + dados + atual[pos + len(dados):]
        self.pendentes.append((pos, dados))

    def truncar(self, tamanho):
        self.volatil = self.volatil[:tamanho] + b"\0" * max(0, tamanho - len(self.volatil))
        self.pendentes.append((None, tamanho))

    def sincronizar(self):
        self.duravel = self.volatil
        self.pendentes = []

    def possiveis(self):
        """Every content a power cut can leave: a prefix of the pending
        writes, the last one torn at a sector (or at its first byte, or its
        middle); a write that grew the file may have its new size on the disk
        without its bytes, which then read as zeros."""

        def escrito(base, pos, dados, tamanho=None):
            if pos > len(base):
                base += b"\0" * (pos - len(base))
            base = base[:pos] + dados + base[pos + len(dados):]
            if tamanho is not None and tamanho > len(base):
                base += b"\0" * (tamanho - len(base))
            return base

        vistos = [self.duravel]
        atual = self.duravel
        for pos, dados in self.pendentes:
            if pos is None:
                atual = atual[:dados] + b"\0" * max(0, dados - len(atual))
                vistos.append(atual)
                continue
            fim = pos + len(dados)
            cortes = set(range(SETOR, len(dados), SETOR)) | {len(dados) // 2, 1, 0}
            for corte in sorted(c for c in cortes if c < len(dados)):
                vistos.append(escrito(atual, pos, dados[:corte]))
                if fim > len(atual):
                    vistos.append(escrito(atual, pos, dados[:corte], fim))
            atual = escrito(atual, pos, dados)
            vistos.append(atual)
        unicos = []
        for v in vistos:
            if v not in unicos:
                unicos.append(v)
        return unicos


class Sistema:
    """The folder of the workload as the program sees it and as the disk
    holds it."""

    def __init__(self, pasta):
        self.pasta = pasta
        self.nomes = {}           # name -> Inode, as the program sees them
        self.nomes_duraveis = {}  # the synced entries
        self.pendentes = []       # entry changes since the folder's last sync
        self.descritores = {}     # fd -> [Inode or "pasta", position]
        for nome in sorted(os.listdir(pasta)):
            caminho = os.path.join(pasta, nome)
            if os.path.islink(caminho):
                continue
            existente = next((i for n, i in self.nomes.items()
                              if os.path.samefile(os.path.join(pasta, n), caminho)), None)
            with open(caminho, "rb") as f:
                self.nomes[nome] = existente or Inode(f.read())
        self.nomes_duraveis = dict(self.nomes)
        self.estados = []

    def nome(self, caminho, pasta_fd=None):
        """The name in the workload's folder of a recorded path argument,
        relative to the folder of `pasta_fd` when it is not absolute."""
        caminho = texto(caminho)
        if not caminho.startswith("/"):
            m = re.match(r"[^<]*<([^>]*)>", pasta_fd or "")
            if not m:
                return None
            caminho = os.path.join(texto(m.group(1)), caminho)
        if os.path.dirname(caminho) != self.pasta:
            return None
        return os.path.basename(caminho)

    def entrada(self, op):
        self.pendentes.append(op)
        tipo = op[0]
        if tipo == "criar":
            self.nomes[op[1]] = op[2]
        elif tipo == "renomear":
            self.nomes[op[2]] = self.nomes.pop(op[1])
        elif tipo == "apagar":
            self.nomes.pop(op[1], None)
        elif tipo == "ligar":
            self.nomes[op[2]] = self.nomes[op[1]]

    def foto(self):
        """Every disk a power cut now leaves, as {name: bytes}."""
        inodes = {id(i): i for i in itertools.chain(self.nomes.values(),
                                                    self.nomes_duraveis.values())}
        chaves = list(inodes)
        for kept in itertools.product((False, True), repeat=len(self.pendentes)):
            nomes = dict(self.nomes_duraveis)
            for manter, op in zip(kept, self.pendentes):
                if not manter:
                    continue
                if op[0] == "criar":
                    nomes[op[1]] = op[2]
                elif op[0] == "renomear" and op[1] in nomes:
                    nomes[op[2]] = nomes.pop(op[1])
                elif op[0] == "apagar":
                    nomes.pop(op[1], None)
                elif op[0] == "ligar" and op[1] in nomes:
                    nomes[op[2]] = nomes[op[1]]
            vivos = [k for k in chaves if any(id(i) == k for i in nomes.values())]
            for conteudos in itertools.product(*(inodes[k].possiveis() for k in vivos)):
                por_inode = dict(zip(vivos, conteudos))
                yield {n: por_inode[id(i)] for n, i in nomes.items()}

    def chamada(self, nome, args, ret):
        """Applies one recorded call to the model; records the states a
        power cut before it leaves."""
        fd_alvo = re.match(r"(-?\d+)<([^>]*)>", args[0]) if args else None
        if nome in ("openat", "open", "creat"):
            m = re.match(r"(\d+)<([^>]*)>", ret)
            if not m:
                return
            fd, real = int(m.group(1)), texto(m.group(2))
            if real == self.pasta:
                self.descritores[fd] = ["pasta", 0]
                return
            n = self.nome(real)
            if n is None:
                self.descritores.pop(fd, None)
                return
            flags = args[2] if nome == "openat" else (args[1] if nome == "open" else "O_CREAT")
            if n not in self.nomes:
                self.entrada(("criar", n, Inode()))
            inode = self.nomes[n]
            if "O_TRUNC" in flags and inode.volatil:
                inode.truncar(0)
            self.descritores[fd] = [inode, 0, "O_APPEND" in flags]
        elif nome in ("write", "pwrite64") and fd_alvo:
            fd = int(fd_alvo.group(1))
            d = self.descritores.get(fd)
            n = int(ret) if ret.lstrip("-").isdigit() else -1
            if not d or d[0] == "pasta" or n <= 0:
                return
            dados = bytes.fromhex(args[1].strip('"').replace("\\x", ""))[:n]
            pos = int(args[3]) if nome == "pwrite64" else d[1]
            if nome == "write" and len(d) > 2 and d[2]:
                pos = len(d[0].volatil)
            self.registrar()
            d[0].escrever(pos, dados)
            if nome == "write":
                d[1] = pos + n
        elif nome == "lseek" and fd_alvo:
            d = self.descritores.get(int(fd_alvo.group(1)))
            if d and ret.isdigit():
                d[1] = int(ret)
        elif nome == "ftruncate" and fd_alvo:
            d = self.descritores.get(int(fd_alvo.group(1)))
            if d and d[0] != "pasta" and ret == "0":
                self.registrar()
                d[0].truncar(int(args[1]))
        elif nome in ("fsync", "fdatasync") and fd_alvo:
            d = self.descritores.get(int(fd_alvo.group(1)))
            if not d or ret != "0":
                return
            self.registrar()
            if d[0] == "pasta":
                self.nomes_duraveis = dict(self.nomes)
                self.pendentes = []
            else:
                d[0].sincronizar()
        elif nome == "close" and fd_alvo:
            self.descritores.pop(int(fd_alvo.group(1)), None)
        elif nome in DE_DOIS_NOMES and ret == "0":
            # rename/link(a, b), or renameat/linkat(dirfd, a, dirfd, b).
            if nome in ("rename", "link"):
                na, nb = self.nome(args[0]), self.nome(args[1])
            else:
                na, nb = self.nome(args[1], args[0]), self.nome(args[3], args[2])
            if na and nb and na in self.nomes:
                self.registrar()
                self.entrada((DE_DOIS_NOMES[nome], na, nb))
        elif nome in ("unlink", "unlinkat") and ret == "0":
            n = self.nome(args[0]) if nome == "unlink" else self.nome(args[1], args[0])
            if n and n in self.nomes:
                self.registrar()
                self.entrada(("apagar", n))

    def registrar(self):
        """The disks a power cut just before the next change leaves."""
        self.estados.extend(self.foto())


def separar_argumentos(texto):
    """Splits a call's arguments at the top-level commas."""
    args, atual, profundidade, aspas = [], "", 0, False
    i = 0
    while i < len(texto):
        c = texto[i]
        if aspas:
            atual += c
            if c == "\\":
                atual += texto[i + 1]
                i += 1
            elif c == '"':
                aspas = False
        elif c == '"':
            aspas = True
            atual += c
        elif c in "[{(<":
            profundidade += 1
            atual += c
        elif c in "]})>":
            profundidade -= 1
            atual += c
        elif c == "," and profundidade == 0:
            args.append(atual.strip())
            atual = ""
        else:
            atual += c
        i += 1
    if atual.strip():
        args.append(atual.strip())
    return args


# The calls that name two files, and what each does to the folder.
DE_DOIS_NOMES = {"rename": "renomear", "renameat": "renomear", "renameat2": "renomear",
                 "link": "ligar", "linkat": "ligar"}
LINHA = re.compile(r"^(?:\[pid\s+\d+\]\s+|\d+\s+)?(\w+)\((.*)\)\s+=\s+(\S+)")
# With several threads strace splits a call that another thread's call
# interrupts: "PID name(args <unfinished ...>", later "PID <... name resumed>rest".
PENDENTE = re.compile(r"^(\d+)\s+(.*) <unfinished \.\.\.>$")
RETOMADA = re.compile(r"^(\d+)\s+<\.\.\. \w+ resumed>(.*)$")


def total_de(pasta, nome):
    r = subprocess.run([quarvel, "--total", os.path.join(pasta, nome)], capture_output=True,
                       timeout=60, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    return r.returncode, r.stdout, r.stderr.decode("utf-8", "replace")


def estados_unicos(sistema, registro):
    """Replays the recorded calls into `sistema`. Returns every distinct state a
    power cut can leave, each with whether it is a final one (all of it
    promised), and how many final states there were."""
    pendentes = {}
    with open(registro, encoding="latin-1") as f:
        for linha in f:
            linha = linha.rstrip("\n")
            m = PENDENTE.match(linha)
            if m:
                pendentes[m.group(1)] = m.group(2)
                continue
            m = RETOMADA.match(linha)
            if m and m.group(1) in pendentes:
                # The call counts when it returned: a sync promises only then.
                linha = m.group(1) + " " + pendentes.pop(m.group(1)) + m.group(2)
            m = LINHA.match(linha)
            if m:
                sistema.chamada(m.group(1), separar_argumentos(m.group(2)), m.group(3))
    finais = list(sistema.foto())
    unicos = {}
    for estado in sistema.estados:
        chave = hashlib.sha256(repr(sorted(estado.items())).encode()).hexdigest()
        unicos.setdefault(chave, (estado, False))
    for estado in finais:
        chave = hashlib.sha256(repr(sorted(estado.items())).encode()).hexdigest()
        unicos[chave] = (estado, True)
    return unicos, len(finais)


def executar(carga):
    alvo, antigo, novo, extra, preparo = CARGAS[carga]
    raiz = tempfile.mkdtemp(prefix="quarvel-quedas-")
    try:
        pasta = os.path.join(os.path.realpath(raiz), "pasta")
        os.mkdir(pasta)
        caminho = os.path.join(pasta, alvo)
        with open(caminho, "wb") as f:
            f.write(antigo)
        if preparo == "ligacao":
            os.link(caminho, os.path.join(pasta, "conferencia.qvl"))
        esperados = {}
        for nome, dados in (("antigo", antigo), ("novo", novo)):
            ref = os.path.join(raiz, "ref-" + nome)
            os.mkdir(ref)
            with open(os.path.join(ref, alvo), "wb") as f:
                f.write(dados)
            codigo, saida, erro = total_de(ref, alvo)
            assert codigo == 0, f"{carga}: o documento {nome} não foi lido: {erro}"
            esperados[saida] = nome

        registro = os.path.join(raiz, "strace.log")
        comando = ["strace", "-f", "-y", "-xx", "-s", "1000000", "-e", "trace=" + CHAMADAS,
                   "-o", registro, gravar_como, caminho, novo.decode("cp1252")]
        if extra:
            comando.append(extra)
        # The folder as the disk holds it before the save.
        sistema = Sistema(pasta)
        r = subprocess.run(comando, capture_output=True)
        assert r.returncode == 0, f"{carga}: a gravação falhou: {r.stderr!r}"

        # The save returned: everything it promised is on the disk.
        unicos, finais = estados_unicos(sistema, registro)

        errados = []
        for chave, (estado, terminado) in unicos.items():
            disco = os.path.join(raiz, "estado")
            shutil.rmtree(disco, ignore_errors=True)
            os.mkdir(disco)
            for nome, dados in estado.items():
                with open(os.path.join(disco, nome), "wb") as f:
                    f.write(dados)
            problema = julgar(disco, alvo, estado, esperados, terminado)
            if problema:
                errados.append((problema, estado))
        print(f"{carga}: {len(sistema.estados) + finais} estados, {len(unicos)} distintos, "
              f"{len(errados)} errados")
        tipos = {}
        for problema, _ in errados:
            tipo = problema.split(":")[0]
            tipos[tipo] = tipos.get(tipo, 0) + 1
        for tipo, n in sorted(tipos.items()):
            print(f"  {n}: {tipo}")
        for problema, estado in errados[:5]:
            print(f"  {problema}; arquivos: {sorted(estado)}")
        return len(errados)
    finally:
        shutil.rmtree(raiz, ignore_errors=True)


def julgar(disco, alvo, estado, esperados, terminado):
    """Empty when the program's answer on this disk is sound."""
    if alvo not in estado:
        return f"{alvo} sumiu"
    codigo, saida, erro = total_de(disco, alvo)
    if codigo == 0:
        versao = esperados.get(saida)
        if versao is None:
            total = saida.decode("utf-8", "replace").splitlines()[-2:-1]
            return f"{alvo} abriu sem aviso com um total que nunca existiu: {total}"
        if terminado and versao != "novo":
            return f"a gravação terminou, mas {alvo} abriu com o documento antigo"
        return ""
    # A refusal is sound only when it names the synced copy of the old file.
    copias = [n for n in estado if ".copia-" in n and n in erro]
    if copias:
        return ""
    return f"{alvo} recusado sem nomear a cópia: {erro.strip()[:160]}"


class Tela:
    """A scratch X server for the real window, driven with xdotool."""

    def __init__(self):
        for _ in range(20):
            leitura, escrita = os.pipe()
            self.xvfb = subprocess.Popen(
                ["Xvfb", f":{random.randint(100, 899)}", "-displayfd", str(escrita), "-screen",
                 "0", "1024x768x24", "-nolisten", "tcp"], pass_fds=(escrita,),
                stderr=subprocess.DEVNULL)
            os.close(escrita)
            with os.fdopen(leitura) as f:
                numero = f.readline().strip()
            if numero:
                self.tela = ":" + numero
                return
            self.xvfb.wait()
        raise AssertionError("o Xvfb não iniciou")

    def ambiente(self, casa):
        env = dict(os.environ)
        env.update(DISPLAY=self.tela, QT_QPA_PLATFORM="xcb", HOME=casa,
                   XDG_RUNTIME_DIR=os.path.join(casa, "run"),
                   XDG_CONFIG_HOME=os.path.join(casa, "config"),
                   XDG_DATA_HOME=os.path.join(casa, "dados"),
                   QUARVEL_PASTA_BACKUP=os.path.join(casa, "Backup"))
        env.pop("QUARVEL_FALHAS_PARAR", None)
        return env

    def xdotool(self, casa, *args):
        r = subprocess.run(["xdotool", *args], env=self.ambiente(casa), capture_output=True,
                           text=True, timeout=30)
        return r.stdout.split()

    def janela(self, casa, titulo, limite=30):
        fim = time.monotonic() + limite
        while time.monotonic() < fim:
            ids = self.xdotool(casa, "search", "--onlyvisible", "--name", titulo)
            if ids:
                self.xdotool(casa, "windowfocus", "--sync", ids[0])
                time.sleep(0.3)
                return ids[0]
            time.sleep(0.1)
        return None

    def encerrar(self):
        self.xvfb.terminate()
        self.xvfb.wait()


PRINCIPAL = "Calculador de Vantorel"
DIGITADOS = ["600", "1234,56", "7"]


def registro_acrescimo(valor):
    """The bytes of the journal's record of an amount added once."""
    texto = valor.encode("cp1252")
    return b"A" + struct.pack("<II", 1, len(texto)) + texto


def ler(caminho):
    try:
        with open(caminho, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return b""


def nova_casa(raiz, nome):
    casa = os.path.join(raiz, nome)
    for pasta in ("run", "config", "dados/Quarvel/sessoes", "Backup"):
        os.makedirs(os.path.join(casa, pasta), mode=0o700)
    return casa


def oferecido(tela, casa):
    """Starts the program on this journal folder, answers Não to the
    recovery question and reads the tape it keeps in the Backup folder;
    None when nothing was offered."""
    # Right after a client is killed, the X server now and then refuses the
    # next connection: a start that ends at once is tried again.
    for _ in range(5):
        p = subprocess.Popen([quarvel], env=tela.ambiente(casa), stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
        try:
            p.wait(1)
        except subprocess.TimeoutExpired:
            break
    try:
        if not tela.janela(casa, PRINCIPAL):
            raise AssertionError(f"a janela não abriu ({p.poll()}): {p.stderr.read()[-500:] if p.poll() is not None else b''}")
        # The question comes right after the window, or not at all.
        if not tela.janela(casa, "^Quarvel$", limite=8):
            return None
        # A journal torn before its first sync cannot be read: it is put
        # aside with a message naming it, and nothing is offered.
        sessoes = os.path.join(casa, "dados", "Quarvel", "sessoes")
        if any(n.startswith("diario-ilegivel-") for n in os.listdir(sessoes)):
            return []
        tela.xdotool(casa, "key", "n")
        backup = os.path.join(casa, "Backup")
        fim = time.monotonic() + 30
        while time.monotonic() < fim:
            nomes = [n for n in os.listdir(backup) if re.fullmatch(r"recuperacao-.*\.qvl", n)]
            if nomes:
                time.sleep(0.3)
                with open(os.path.join(backup, nomes[0]), "rb") as f:
                    dados = f.read()
                return dados.split(b"\r\n\r\n", 1)[1].decode("cp1252").split("\r\n")[:-1]
            time.sleep(0.1)
        raise AssertionError("nenhum recuperacao-*.qvl na pasta Backup")
    finally:
        p.kill()
        p.wait()


def executar_diario():
    """The journal: amounts typed into the real window under strace, the
    program killed, then every state started again with the recovery
    question answered."""
    for ferramenta in ("Xvfb", "xdotool"):
        if not shutil.which(ferramenta):
            print(f"diario: pulado, {ferramenta} ausente (scripts/deps o instala)")
            return 0
    raiz = tempfile.mkdtemp(prefix="quarvel-quedas-")
    tela = Tela()
    try:
        casa = nova_casa(os.path.realpath(raiz), "gravada")
        sessoes = os.path.join(casa, "dados/Quarvel/sessoes")
        sistema = Sistema(sessoes)
        registro = os.path.join(raiz, "strace.log")
        p = subprocess.Popen(["strace", "-f", "-y", "-xx", "-s", "100000", "-e",
                              "trace=" + CHAMADAS, "-o", registro, quarvel],
                             env=tela.ambiente(casa), stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        assert tela.janela(casa, PRINCIPAL), "a janela não abriu"
        for valor in ("12*50", "1234,56", "7"):
            tela.xdotool(casa, "type", "--delay", "60", valor)
            tela.xdotool(casa, "key", "Return")
        # The keys wait in the X server's queue until the window reads them,
        # and with strace stopping it at every call the window can be busy
        # for seconds on a loaded machine (loading a library, a plugin):
        # killed before, it never had them. So the kill waits for the
        # journal to hold the last amount, and a little more for its sync.
        ultimo = registro_acrescimo(DIGITADOS[-1])
        fim = time.monotonic() + 60
        while time.monotonic() < fim and not any(
                ultimo in ler(os.path.join(sessoes, n)) for n in os.listdir(sessoes)
                if n.endswith(".diario")):
            time.sleep(0.1)
        time.sleep(1.5)
        # The program, not strace: killed as a power cut would stop it.
        filhos = subprocess.run(["pgrep", "-P", str(p.pid)], capture_output=True, text=True)
        for pid in filhos.stdout.split():
            os.kill(int(pid), signal.SIGKILL)
        p.wait()
        unicos, finais = estados_unicos(sistema, registro)
        # What the window really wrote, read from the folder it left: the
        # tape every final state must offer, and all of what was typed.
        gravada = oferecido(tela, casa) or []
        prefixos = [DIGITADOS[:i] for i in range(len(DIGITADOS) + 1)]
        errados = []
        for i, (estado, terminado) in enumerate(unicos.values()):
            outra = nova_casa(raiz, f"estado-{i}")
            for nome, dados in estado.items():
                with open(os.path.join(outra, "dados/Quarvel/sessoes", nome), "wb") as f:
                    f.write(dados)
            # Without a journal there is nothing to offer, and no question
            # to wait for.
            # A journal with no record whole offers nothing either.
            diarios = [n for n in estado if n.endswith(".diario")]
            fita = (oferecido(tela, outra) if diarios else None) or []
            if fita not in prefixos:
                errados.append(f"fita oferecida {fita[:5]}: nenhuma fita vista")
            elif terminado and fita != gravada:
                errados.append(f"valores gravados perdidos: oferecida {fita}")
            shutil.rmtree(outra, ignore_errors=True)
        if gravada != DIGITADOS:
            errados.append(f"a janela gravou {gravada} de {DIGITADOS}: teclas perdidas")
        print(f"diario: {len(sistema.estados) + finais} estados, {len(unicos)} distintos, "
              f"{len(errados)} errados")
        for e in errados[:5]:
            print(f"  {e}")
        return len(errados)
    finally:
        tela.encerrar()
        shutil.rmtree(raiz, ignore_errors=True)


def main():
    pedidas = [a for a in sys.argv[3:] if a and not a.startswith("--")]
    cargas = [c for c in pedidas if c in CARGAS] if pedidas else list(CARGAS)
    desconhecidas = [c for c in pedidas if c not in CARGAS and c != "diario"]
    if desconhecidas:
        # A run that reads no state must not pass for one that read them all.
        print(f"cargas desconhecidas: {desconhecidas}; há {sorted(CARGAS)} e diario")
        return 2
    errados = sum(executar(c) for c in cargas)
    if not pedidas or "diario" in pedidas:
        errados += executar_diario()
    if relatorio:
        return 0
    return 1 if errados else 0


if __name__ == "__main__":
    sys.exit(main())
