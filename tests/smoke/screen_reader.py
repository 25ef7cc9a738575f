"""The journey through the accessibility bus, as a screen reader makes it.

    /usr/bin/python3 screen_reader.py <program-pid> <data-dir> <version>

Finds the program's window on the AT-SPI bus and does everything through it:
types a question into the question box through its editable text, presses
"Tell Me" through its action, reads the grid, the kings, the first line of
the word-pair list, the words and the meaning, and checks them against the
data files for the grid it read; chooses the third line, once through the
line's own action and once with the arrow keys, and reads its meaning; opens the About box with
its action, reads it and closes it; and ends with "Close Application".
Along the way it checks what every control is offered as, and that nothing
the design hides is offered as showing.
"""

import re
import sys
import time

import pyatspi

WAIT = 20  # seconds for anything the program does in reply


def fail(message):
    print("FAIL: " + message, file=sys.stderr, flush=True)
    sys.exit(1)


def step(message):
    print("-- " + message, flush=True)


def wait_until(what, probe, seconds=WAIT):
    """Polls probe until it gives something true, and returns that."""
    deadline = time.monotonic() + seconds
    last_error = None
    while True:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # the bus may answer before the object is ready
            last_error = error
        if time.monotonic() > deadline:
            fail("no %s after %d s%s" % (what, seconds, " (%s)" % last_error if last_error else ""))
        time.sleep(0.1)


# --- The data files, read as the program reads them ------------------------


def decode_1252(raw):
    # The five bytes Windows-1252 leaves undefined stand for themselves.
    return "".join(bytes([b]).decode("cp1252") if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else chr(b) for b in raw)


def read_records(path, count):
    """The records of a data file, each of count fields: a quoted field runs
    to the next quote, line breaks included; an unquoted one to the next
    comma or line end; a line end separates fields as a comma does."""
    with open(path, "rb") as f:
        text = decode_1252(f.read())
    records, i = [], 0

    def past_separator(i):
        if text.startswith("\r\n", i):
            return i + 2
        return i + 1 if i < len(text) else i

    while i < len(text):
        fields = []
        for _ in range(count):
            while i < len(text) and text[i] == " ":
                i += 1
            if i < len(text) and text[i] == '"':
                end = text.find('"', i + 1)
                end = len(text) if end < 0 else end
                fields.append(text[i + 1 : end])
                i = end + 1
                while i < len(text) and text[i] not in ",\r\n":
                    i += 1
            else:
                end = i
                while end < len(text) and text[end] not in ",\r\n":
                    end += 1
                fields.append(text[i:end].rstrip(" "))
                i = end
            i = past_separator(i)
        records.append(fields)
    return records


class Data:
    def __init__(self, folder):
        self.words = read_records(folder + "/words.wdb", 2)
        self.rows = read_records(folder + "/dictionary.wdb", 4)

    def word(self, code):
        """The word of the last record whose code matches; "" if none."""
        found = ""
        for record in self.words:
            if record[0].strip(" ") == code:
                found = record[1].strip(" ")
        return found

    def meaning(self, code1, code2):
        """The meaning of the first row with the two codes; "" if none."""
        for row in self.rows:
            if row[0] == code1 and row[1] == code2:
                return row[3]
        return ""


def lines(text):
    """A text with its line breaks in one form, whichever the box used."""
    return re.sub("\r\n|\r|\u2028|\u2029", "\n", text).rstrip("\n")


# --- What a screen reader sees ----------------------------------------------


# Roles are compared as AT-SPI's constants: their names are for people, and
# libatspi renames some ("push button" became "button" in 2.56).
def role(node):
    return node.getRole()


def role_name(role_constant):
    return str(pyatspi.Role(int(role_constant)))  # ROLE_PUSH_BUTTON, the same on every release


def described(node):
    return '%s "%s"' % (role_name(role(node)), node.name)


def has(node, state):
    return node.getState().contains(state)


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(root, wanted, name):
    for node in descendants(root):
        if role(node) == wanted and node.name == name:
            return node
    return None


def the(root, wanted, name):
    node = find(root, wanted, name)
    if node is None:
        fail('nothing on the bus is a %s named "%s"' % (role_name(wanted), name))
    return node


def wait_to_read(what, reader, wanted, seconds=5):
    """Polls reader until it gives wanted; on failure shows what it gave."""
    last = []

    def probe():
        last[:] = [reader()]
        return last[0] == wanted

    deadline = time.monotonic() + seconds
    while not probe():
        if time.monotonic() > deadline:
            fail("%s: read %r, expected %r" % (what, last[0] if last else None, wanted))
        time.sleep(0.1)


def read(node):
    """The whole text of a control, through its text interface."""
    try:
        text = node.queryText()
    except NotImplementedError:
        fail("the %s offers no text interface" % described(node))
    return text.getText(0, -1)


def act(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        fail('the %s has no action "%s" (only %s)' % (described(node), action, names))
    actions.doAction(names.index(action))


def key(keysym):
    # Through the registry, as a screen reader sends keys.
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


KEY_TAB, KEY_HOME, KEY_DOWN = 0xFF09, 0xFF50, 0xFF54

TEXT, BUTTON, CHECK_BOX = pyatspi.ROLE_TEXT, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX
LIST, LIST_ITEM, LABEL = pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_LABEL


def expect(what, got, wanted):
    if got != wanted:
        fail("%s: read %r, expected %r" % (what, got, wanted))


# --- The journey --------------------------------------------------------------


def find_program(pid):
    def found():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == pid:
                for j in range(app.childCount):
                    window = app.getChildAtIndex(j)
                    if role(window) == pyatspi.ROLE_FRAME and window.name == "Lotwise":
                        return app, window
        return None

    return wait_until("window of process %d on the accessibility bus" % pid, found)


def check_roles_and_names(window):
    step("every control is offered with its role and a name")
    named_roles = {TEXT, BUTTON, CHECK_BOX, LIST, LIST_ITEM, LABEL, pyatspi.ROLE_MENU_ITEM}
    for node in descendants(window):
        if role(node) == pyatspi.ROLE_PASSWORD_TEXT:
            fail('"%s" is offered as a password field' % node.name)
        if role(node) == pyatspi.ROLE_FRAME:
            fail('a control named "%s" is offered as a frame, which is a window' % node.name)
        if role(node) in named_roles and has(node, pyatspi.STATE_SHOWING) and not node.name:
            fail("a %s is offered without a name" % role_name(role(node)))


def check_hidden(window):
    step("nothing the design hides is offered as showing")
    hidden = [
        (TEXT, "Length:"),
        (LABEL, "Length:"),
        (TEXT, "Results"),
        (CHECK_BOX, "Use List Words"),
        (CHECK_BOX, "Invert List Words"),
        (CHECK_BOX, "Show All Meanings"),
        (LABEL, "Meanings"),
    ]
    for wanted, name in hidden:
        node = the(window, wanted, name)
        if has(node, pyatspi.STATE_SHOWING) or has(node, pyatspi.STATE_VISIBLE):
            fail("the hidden %s is offered as showing" % described(node))
    counts = [n for n in descendants(window) if role(n) == LABEL and re.fullmatch(r"[\d,.]+ combinations", n.name)]
    if len(counts) != 1:
        fail("expected one count label, found %d" % len(counts))
    if has(counts[0], pyatspi.STATE_SHOWING):
        fail('the hidden count label "%s" is offered as showing' % counts[0].name)


def main():
    if len(sys.argv) != 4:
        print("usage: screen_reader.py <program-pid> <data-dir> <version>", file=sys.stderr)
        sys.exit(2)
    pid, data, version = int(sys.argv[1]), Data(sys.argv[2]), sys.argv[3]

    app, window = find_program(pid)
    check_roles_and_names(window)

    step("type a question into the question box")
    question = the(window, TEXT, "Enter Question:")
    hint = the(window, TEXT, "Question hint")
    if not has(hint, pyatspi.STATE_SHOWING):
        fail("the hint is not showing before a question is typed")
    asked = "Shall I travel?"
    if not question.queryEditableText().insertText(0, asked, len(asked)):
        fail("the question box refused the text")
    wait_until("question in the question box", lambda: read(question) == asked)
    wait_until("hint gone after typing", lambda: not has(hint, pyatspi.STATE_SHOWING))

    step('press "Tell Me"')
    pairs = the(window, LIST, "Word pairs")
    expect("lines in the word-pair list before the run", pairs.childCount, 0)
    act(the(window, BUTTON, "Tell Me"), "Press")
    wait_until("8 lines in the word-pair list", lambda: pairs.childCount == 8)
    wait_until('"Tell Me" back on the button', lambda: find(window, BUTTON, "Tell Me") is not None)

    step("read the grid, the kings, the first line, the words and the meaning")
    grid = {(r, c): read(the(window, TEXT, "Row %d column %s" % (r, c))) for r in range(1, 5) for c in "ABCD"}
    if any(bit not in ("0", "1") for bit in grid.values()):
        fail("the grid holds more than 0s and 1s: %s" % grid)
    code = {c: "".join(grid[(r, c)] for r in range(1, 5)) for c in "ABCD"}
    print("   column codes " + " ".join(code[c] for c in "ABCD"))
    for c in "ABCD":
        king = the(window, LABEL, "King " + c)
        expect("King " + c, read(king), data.word(code[c]))
    first = pairs.getChildAtIndex(0)
    expect("role of a list line", role_name(role(first)), role_name(LIST_ITEM))
    expect("first line of the list", first.name, " 1: %s - %s" % (data.word(code["D"]), data.word(code["A"])))
    words, meaning = the(window, TEXT, "Words"), the(window, TEXT, "Meaning")
    if not has(the(window, CHECK_BOX, "Invert Pattern"), pyatspi.STATE_CHECKED):
        fail('"Invert Pattern" is not offered as checked')

    def shown(line):
        # The line's pair DA, DC, CB, ... with "Invert Pattern" and "Use
        # List Words" checked: the codes exchanged, the heading the two
        # list words.
        pair = "DA DC CB BA AD AB BC CD".split()[line - 1]
        code1, code2 = code[pair[1]], code[pair[0]]
        return "%s-%s" % (data.word(code1), data.word(code2)), lines(data.meaning(code1, code2))

    def on_show():
        return read(words), lines(read(meaning))

    expect("words and meaning of the first line", on_show(), shown(1))

    check_hidden(window)

    # The third line, unless the grid gives it the words and meaning of
    # the first (the same column codes), which would hide whether the
    # choice took: then the first line that shows something else.
    line = next((n for n in (3, 2, 4, 5, 6, 7, 8) if shown(n) != shown(1)), 3)
    if shown(line) == shown(1):
        print("   every line of this grid shows the same: only the chosen state can tell")
    chosen = pairs.getChildAtIndex(line - 1)

    step("choose line %d through its own action" % line)
    act(chosen, "Toggle")
    wait_until("line %d chosen" % line, lambda: has(chosen, pyatspi.STATE_SELECTED))
    wait_to_read("words and meaning after line %d's action" % line, on_show, shown(line))

    step("choose line %d with the arrow keys" % line)
    # Tab from the bit report lands on the list; Home goes to its first line.
    the(window, TEXT, "Bit report").queryComponent().grabFocus()
    key(KEY_TAB)
    key(KEY_HOME)
    wait_to_read("words and meaning after Home", on_show, shown(1))
    for _ in range(line - 1):
        key(KEY_DOWN)
    wait_to_read("words and meaning after %d arrow keys" % (line - 1), on_show, shown(line))
    if not has(chosen, pyatspi.STATE_SELECTED):
        fail("line %d is not offered as chosen after the arrow keys" % line)

    step("open About, read it, close it")
    act(the(window, BUTTON, "About"), "Press")

    def about_box():
        for i in range(app.childCount):
            box = app.getChildAtIndex(i)
            if box is not None and role(box) == pyatspi.ROLE_ALERT and box.name == "Lotwise" and has(box, pyatspi.STATE_SHOWING):
                return box
        return None

    box = wait_until("About box", about_box)
    texts = [n.name for n in descendants(box) if role(n) == LABEL and n.name]
    if len(texts) != 1:
        fail("the About box offers %d texts: %s" % (len(texts), texts))
    about = texts[0].split("\r\n")
    expect("lines of the About box", len(about), 7)
    if not about[0].startswith("Lotwise - "):
        fail("first line of the About box: %r" % about[0])
    expect("second line of the About box", about[1], "Version " + version)
    act(the(box, BUTTON, "OK"), "Press")
    wait_until("About box closed", lambda: about_box() is None)

    step('"Close Application"')
    act(the(window, BUTTON, "Close Application"), "Press")


if __name__ == "__main__":
    main()
