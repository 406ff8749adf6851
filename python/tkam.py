"""The fixed-asset ledger from Python, through the component's C interface.

Only the standard library's ctypes: load TkAMAssetInt.so, log an account set
in, and call the ledger's operations; queries come back as lists of dicts.

    from tkam import Ledger
    with Ledger("build/TkAMAssetInt.so", "host=/tmp/pg dbname=amasset", "amdemo") as ledger:
        code = ledger.add_asset("02-01-01", "数控车床", 120000, "2024-01-15", department="0103")
        ledger.close_periods("2024-01", "2024-03")
        for row in ledger.register("2024-03"):
            print(row["资产编码"], row["净值"])
"""
import ctypes

TKAM_EMPTY, TKAM_I4, TKAM_R8, TKAM_TEXT, TKAM_OBJECT, TKAM_BOOL = 0, 3, 5, 8, 9, 11


class Value(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int32),
        ("i", ctypes.c_int32),
        ("r", ctypes.c_double),
        ("text", ctypes.c_char_p),
        ("object", ctypes.c_void_p),
        ("owned", ctypes.c_int32),
    ]


class TkamError(Exception):
    """A call the component refused: its error number and description."""

    def __init__(self, number, description):
        super().__init__(f"{number}: {description}")
        self.number = number
        self.description = description


def _value(python_value):
    if python_value is None:
        return Value(TKAM_EMPTY, 0, 0.0, None, None, 0)
    if isinstance(python_value, bool):
        return Value(TKAM_BOOL, int(python_value), 0.0, None, None, 0)
    if isinstance(python_value, int):
        return Value(TKAM_I4, python_value, 0.0, None, None, 0)
    if isinstance(python_value, float):
        return Value(TKAM_R8, 0, python_value, None, None, 0)
    if isinstance(python_value, Object):
        return Value(TKAM_OBJECT, 0, 0.0, None, python_value.handle, 0)
    return Value(TKAM_TEXT, 0, 0.0, str(python_value).encode("utf-8"), None, 0)


class Library:
    """The loaded component and the C functions it exports."""

    def __init__(self, path):
        self.dll = ctypes.CDLL(path)
        d = self.dll
        d.tkam_create.restype = ctypes.c_void_p
        d.tkam_create.argtypes = [ctypes.c_char_p]
        d.tkam_release.argtypes = [ctypes.c_void_p]
        d.tkam_put.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.POINTER(Value)]
        d.tkam_call.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.POINTER(Value),
                                ctypes.c_int32, ctypes.POINTER(Value)]
        d.tkam_value_clear.argtypes = [ctypes.POINTER(Value)]
        d.tkam_last_error.argtypes = [ctypes.POINTER(ctypes.c_char_p)]

    def check(self, rc):
        if rc != 0:
            raise self.last_error()

    def last_error(self):
        description = ctypes.c_char_p()
        number = self.dll.tkam_last_error(ctypes.byref(description))
        return TkamError(number, (description.value or b"").decode("utf-8"))

    def create(self, progid):
        handle = self.dll.tkam_create(progid.encode("utf-8"))
        if not handle:
            raise self.last_error()
        return Object(self, handle)


class Object:
    """One object of the component, driven by member name."""

    def __init__(self, library, handle):
        self.library, self.handle = library, handle

    def put(self, name, python_value):
        v = _value(python_value)
        self.library.check(self.library.dll.tkam_put(self.handle, name.encode(), ctypes.byref(v)))

    def call(self, method, *args):
        return self.call_by_ref(method, *args)[0]

    def call_by_ref(self, method, *args):
        """A call whose arguments the member may change (ByRef): its result and
        the arguments as they came back."""
        values = (Value * max(len(args), 1))(*[_value(a) for a in args])
        result = Value()
        self.library.check(self.library.dll.tkam_call(self.handle, method.encode(), values,
                                                      len(args), ctypes.byref(result)))
        returned = [self._python(result)] + [self._python(values[i]) for i in range(len(args))]
        return returned[0], *returned[1:]

    def _python(self, value):
        try:
            if value.type == TKAM_TEXT:
                return value.text.decode("utf-8") if value.text else ""
            if value.type == TKAM_R8:
                return value.r
            if value.type in (TKAM_I4, TKAM_BOOL, 2):
                return value.i
            return None
        finally:
            self.library.dll.tkam_value_clear(ctypes.byref(value))

    def release(self):
        if self.handle:
            self.library.dll.tkam_release(self.handle)
            self.handle = None


def _rows(text):
    """Tab-separated lines under their titles, as dicts; amounts as floats."""
    lines = text.splitlines()
    if not lines:
        return []
    titles = lines[0].split("\t")
    rows = []
    for line in lines[1:]:
        row = {}
        for title, cell in zip(titles, line.split("\t")):
            try:
                row[title] = float(cell) if "." in cell else cell
            except ValueError:
                row[title] = cell
        rows.append(row)
    return rows


class Ledger:
    """An account set's ledger: operations (each one transaction) and queries."""

    def __init__(self, library_path, server, account_set, organization=1):
        self.library = Library(library_path)
        self.connection = self.library.create("TkConnectBase.Connection")
        schema = account_set.strip().lower()
        self.connection.put("ServerName", server)
        self.connection.put("UserName", schema)
        self.connection.call("Open")
        self.context = self.library.create("TkAMAssetInt.Interface")
        self.context.put("User", schema)
        self.context.put("ConnBase", self.connection)
        self.ledger = self.library.create("TkAMAssetInt.clsAMLedger")
        self.ledger.put("Organization", organization)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        for obj in (self.ledger, self.context, self.connection):
            obj.release()

    # Operations
    def add_asset(self, category, name, cost, date, department=None, funds=(), account_lines=()):
        """Funds as "01:60", account lines as "510101:0103:100"; returns the asset code."""
        return self.ledger.call("AddAsset", category, name, float(cost), date, department,
                                ",".join(funds), ",".join(account_lines))

    def alter(self, code, date, cost=None, impairment=None, residual=None):
        self.ledger.call("Alter", code, date, *[None if v is None else float(v)
                                                for v in (cost, impairment, residual)])

    def transfer(self, code, date, department):
        self.ledger.call("Transfer", code, date, department)

    def dispose(self, code, date, way="08", cost_out=None):
        self.ledger.call("Dispose", code, date, way, None if cost_out is None else float(cost_out))

    def record_work(self, code, period, work):
        self.ledger.call("RecordWork", code, period, float(work))

    def close_periods(self, first, last=None):
        self.ledger.call("ClosePeriods", first, last)

    def rebuild_journal(self):
        self.ledger.call("RebuildJournal")

    def amortise(self):
        self.ledger.call("Amortise")

    # Queries
    def assets(self):
        return _rows(self.ledger.call("Assets"))

    def register(self, period=None):
        return _rows(self.ledger.call("Register", period))

    def depreciation(self, first, last=None, by_fund=False):
        return _rows(self.ledger.call("Depreciation", first, last, by_fund))

    def schedule(self, year=None):
        return _rows(self.ledger.call("Schedule", year))

    def write_report(self, kind, path, fmt="html"):
        """The register, depreciation or schedule report as a file: "html"
        (one page with its charts), "csv" or "text", as amasset writes it."""
        self.ledger.call("WriteReport", kind, str(path), fmt)


def carry_forward(library_path, server, admin_server, old_set, new_set, turn_date, start_date,
                  organization=1):
    """Carries an organisation's register from old_set into new_set (made with
    `amasset accountset create NEW --like OLD`), from Check to Execute, logged in
    as new_set; the administrative login grants it the old set for the run.
    Returns the new set's register at its first period."""
    library = Library(library_path)
    connection = library.create("TkConnectBase.Connection")
    schema = new_set.strip().lower()
    connection.put("ServerName", server)
    connection.put("UserName", schema)
    connection.call("Open")
    context = library.create("TkAMAssetInt.Interface")
    context.put("User", schema)
    context.put("ConnBase", connection)
    access = library.create("TkAMAssetInt.clsAMAssetSetAccess")
    for name, value in (("AdminServer", admin_server), ("FromSet", old_set), ("ToSet", new_set)):
        access.put(name, value)
    turn = library.create("TkAMAssetInt.clsAMAssetTurn")
    try:
        access.call("Grant")
        for name, value in (("OldUser", old_set.strip().lower()), ("NewUser", schema),
                            ("ConnBase", connection), ("TurnOrganizationID", organization),
                            ("TurnDate", turn_date), ("StartDate", start_date)):
            turn.put(name, value)
        for step in ("Check", "Execute"):
            done, message = turn.call_by_ref(step, "")
            if not done:
                # an error the step trapped leaves the message empty: the last error says it
                raise TkamError(0, "%s: %s" % (step, message or library.last_error().description))
    finally:
        access.release()  # the grant ends with the run
        turn.release()
    ledger = library.create("TkAMAssetInt.clsAMLedger")
    ledger.put("Organization", organization)
    try:
        return _rows(ledger.call("Register", turn_date[:7]))
    finally:
        for obj in (ledger, context, connection):
            obj.release()
