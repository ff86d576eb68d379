// The compiled part of the Python module ondix: states from a pair (scalars or NumPy arrays, computed by the
// library with the interpreter's lock released), the states of a table's columns, processes (their JSON) and the
// tables of files read as ondix-calc stati reads them. ondix/__init__.py adds the rest.
#include "ondix/ondix.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;
using namespace ondix::api;

namespace {

constexpr std::array<const char*, 7> nomi_uscite{"t", "ur", "x", "h", "v", "t_bulbo_umido", "t_rugiada"};
// The names of the quantities, in the order of Grandezza.
constexpr std::array<const char*, 6> nomi_grandezze{"t", "ur", "x", "h", "tbu", "tr"};
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

using Vettore = py::array_t<double, py::array::c_style | py::array::forcecast>;

// ondix.Errore, to raise with attributes.
py::handle tipo_errore;

// The keys of a state's dict, made once (kept to the interpreter's end).
const std::array<py::str, 7>& chiavi_uscite() {
    static const auto* chiavi = new std::array<py::str, 7>{
        py::str(nomi_uscite[0]), py::str(nomi_uscite[1]), py::str(nomi_uscite[2]), py::str(nomi_uscite[3]),
        py::str(nomi_uscite[4]), py::str(nomi_uscite[5]), py::str(nomi_uscite[6])};
    return *chiavi;
}

// Raises ondix.Errore with `testo` and the attributes given (such as the index of the element at fault).
[[noreturn]] void solleva(const std::string& testo, const py::dict& attributi = {}) {
    py::object e = py::reinterpret_borrow<py::object>(tipo_errore)(testo);
    for (const auto& [nome, valore] : attributi)
        py::setattr(e, nome, valore);
    PyErr_SetObject(tipo_errore.ptr(), e.ptr());
    throw py::error_already_set();
}

std::string testo_di(py::handle o) {
    return py::str(o).cast<std::string>();
}

// The quantity of a name ("t", "ur", ...), or Errore.
Grandezza grandezza_di(const std::string& nome) {
    for (std::size_t i = 0; i < nomi_grandezze.size(); ++i)
        if (nome == nomi_grandezze[i]) return static_cast<Grandezza>(i);
    throw Errore(Causa::dati, "grandezza sconosciuta: \"" + nome + "\" (usare t, ur, x, h, tbu, tr)");
}

// A cell that holds no value: None, NaN, pandas' NA and NaT.
bool vuota(py::handle o) {
    if (o.is_none()) return true;
    if (PyFloat_Check(o.ptr())) return std::isnan(PyFloat_AS_DOUBLE(o.ptr()));
    const std::string tipo = Py_TYPE(o.ptr())->tp_name;
    return tipo == "NAType" || tipo == "NaTType";
}

// The number of one value as ondix-calc stati reads a field of column `nome`: a number as it is, a text read with a
// decimal point or comma; nothing (NaN) with the command's reason otherwise, an infinite value among them.
std::pair<double, std::optional<std::string>> cella(py::handle o, const std::string& nome) {
    const auto motivo = [&](const std::string& testo) -> std::pair<double, std::optional<std::string>> {
        try {
            // Read as the command reads the same text: its reason, or (a text Python writes differently) refused.
            return {numero_cella(testo, nome), std::nullopt};
        } catch (const Errore& e) {
            return {nan, std::string(e.what())};
        }
    };
    if (PyFloat_CheckExact(o.ptr()) && std::isfinite(PyFloat_AS_DOUBLE(o.ptr())))
        return {PyFloat_AS_DOUBLE(o.ptr()), std::nullopt};
    if (vuota(o)) return motivo("");
    if (py::isinstance<py::str>(o)) return motivo(o.cast<std::string>());
    if (!py::isinstance<py::bytes>(o)) {
        if (PyObject* f = PyNumber_Float(o.ptr())) {
            const double v = PyFloat_AsDouble(f);
            Py_DECREF(f);
            if (std::isfinite(v)) return {v, std::nullopt};
            if (std::isnan(v)) return motivo("");
        }
        PyErr_Clear();
    }
    auto m = motivo(testo_di(o));
    if (!m.second) m = {nan, "colonna " + nome + ": \"" + testo_di(o) + "\" non è un numero"};
    return m;
}

// A scalar argument as a number, or Errore with the command's reason.
double numero(py::handle o, const std::string& nome) {
    auto [v, motivo] = cella(o, nome);
    if (motivo) throw Errore(Causa::dati, *motivo);
    return v;
}

// A whole number argument (a Python or NumPy integer, not a bool), or nothing.
std::optional<long long> intero(py::handle o) {
    if (PyLong_CheckExact(o.ptr())) {
        int trabocco = 0;
        const long long v = PyLong_AsLongLongAndOverflow(o.ptr(), &trabocco);
        if (trabocco == 0) return v;
    }
    if (PyBool_Check(o.ptr()) || PyFloat_Check(o.ptr())) return std::nullopt;
    PyObject* i = PyNumber_Index(o.ptr());
    if (!i) {
        PyErr_Clear();
        return std::nullopt;
    }
    int trabocco = 0;
    const long long v = PyLong_AsLongLongAndOverflow(i, &trabocco);
    Py_DECREF(i);
    if (trabocco != 0 || (v == -1 && PyErr_Occurred())) {
        PyErr_Clear();
        return std::nullopt;
    }
    return v;
}

// A value given alone: a Python number, a NumPy scalar, a 0-d array or a text.
bool scalare(py::handle o) {
    if (PyFloat_Check(o.ptr()) || PyLong_Check(o.ptr()) || py::isinstance<py::str>(o)) return true;
    const py::module_ np = py::module_::import("numpy");
    if (py::isinstance(o, np.attr("generic"))) return true;
    return py::isinstance<py::array>(o) && py::reinterpret_borrow<py::array>(o).ndim() == 0;
}

// The values of an array, flattened in C order, as float64 (NaN where a value is not a number), with the reason of
// each value that is not one, by its position.
struct Valori {
    Vettore numeri;
    std::vector<std::pair<std::size_t, std::string>> guasti;
};

Valori valori_di(py::handle o, const std::string& nome) {
    const py::module_ np = py::module_::import("numpy");
    Valori r;
    const py::array a = np.attr("asarray")(o);
    const char genere = a.dtype().kind();
    if (genere == 'f' || genere == 'i' || genere == 'u' || genere == 'b') {
        r.numeri = Vettore::ensure(np.attr("ascontiguousarray")(a.attr("ravel")(), "float64"));
        const double* v = r.numeri.data();
        for (py::ssize_t i = 0; i < r.numeri.size(); ++i)
            if (!std::isfinite(v[i])) r.guasti.emplace_back(i, *cella(py::float_(v[i]), nome).second);
        return r;
    }
    const py::list elementi = a.attr("ravel")().attr("tolist")();
    r.numeri = Vettore(static_cast<py::ssize_t>(elementi.size()));
    double* v = r.numeri.mutable_data();
    for (std::size_t i = 0; i < elementi.size(); ++i) {
        auto [x, motivo] = cella(elementi[i], nome);
        v[i] = x;
        if (motivo) r.guasti.emplace_back(i, std::move(*motivo));
    }
    return r;
}

// The air of a call: its pressure (a number) and its model (None or a name).
Aria aria_di(double pressione, const py::object& modello) {
    if (!modello.is_none() && !py::isinstance<py::str>(modello))
        throw Errore(Causa::dati, "modello: " + testo_di(modello) + " (dare None o \"ashrae\")");
    return {pressione, modello.is_none() ? std::string() : modello.cast<std::string>()};
}

unsigned fili_di(const py::object& threads) {
    const auto n = intero(threads);
    if (!n || *n < 1 || *n > 1024) throw Errore(Causa::dati, "threads: " + testo_di(threads) + " non è da 1 a 1024");
    return static_cast<unsigned>(*n);
}

void controlla_errors(const std::string& errors) {
    if (errors != "raise" && errors != "nan")
        throw Errore(Causa::dati, "errors: \"" + errors + "\" (usare \"raise\" o \"nan\")");
}

py::dict stato_scalare(const std::array<std::pair<Grandezza, py::object>, 2>& noti, const py::object& pressione,
                       const Aria& base, const std::string& errors) {
    const double a = numero(noti[0].second, nomi_grandezze[static_cast<std::size_t>(noti[0].first)]);
    const double b = numero(noti[1].second, nomi_grandezze[static_cast<std::size_t>(noti[1].first)]);
    Aria aria = base;
    aria.pressione = numero(pressione, "pressione");
    std::array<double, 7> v{};
    const Uscite u{&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]};
    // The air is checked before the state: an unusable one is a fault of the call, whatever `errors`.
    const RisultatoStati r = stati(RichiestaStati{noti[0].first, &a, noti[1].first, &b, 1, aria, nullptr, 1}, u);
    if (r.errori > 0 && errors == "raise") solleva(r.primo_errore, py::dict(py::arg("motivo") = r.primo_errore));
    py::dict d;
    for (std::size_t i = 0; i < v.size(); ++i)
        d[chiavi_uscite()[i]] = py::float_(v[i]);
    return d;
}

// The position of element `i` of an array of shape `forma` (C order): a number in one dimension, else a tuple.
py::object posizione(std::size_t i, const std::vector<py::ssize_t>& forma) {
    if (forma.size() == 1) return py::int_(i);
    std::vector<py::ssize_t> p(forma.size());
    for (std::size_t k = forma.size(); k-- > 0;) {
        const auto n = static_cast<std::size_t>(forma[k]);
        p[k] = static_cast<py::ssize_t>(i % n);
        i /= n;
    }
    return py::tuple(py::cast(p));
}

py::dict stato_py(py::object t, py::object ur, py::object x, py::object h, py::object tbu, py::object tr,
                  py::object pressione, py::object modello, py::object threads, const std::string& errors) {
    controlla_errors(errors);
    std::vector<std::pair<Grandezza, py::object>> dati;
    const std::array<py::object*, 6> valori{&t, &ur, &x, &h, &tbu, &tr};
    for (std::size_t i = 0; i < valori.size(); ++i)
        if (!valori[i]->is_none()) dati.emplace_back(static_cast<Grandezza>(i), *valori[i]);
    if (dati.size() != 2)
        throw Errore(Causa::dati,
                     "dare esattamente due fra t, ur, x, h, tbu, tr (date: " + std::to_string(dati.size()) + ")");
    const std::array<std::pair<Grandezza, py::object>, 2> noti{dati[0], dati[1]};
    const unsigned fili = fili_di(threads);
    const Aria base = aria_di(101335.0, modello);
    if (scalare(noti[0].second) && scalare(noti[1].second) && scalare(pressione))
        return stato_scalare(noti, pressione, base, errors);

    // Arrays: broadcast to one shape, computed in C++ without the interpreter's lock.
    const py::module_ np = py::module_::import("numpy");
    const bool con_pressioni = !scalare(pressione);
    py::tuple forme;
    try {
        forme = con_pressioni ? np.attr("broadcast_arrays")(noti[0].second, noti[1].second, pressione)
                              : np.attr("broadcast_arrays")(noti[0].second, noti[1].second);
    } catch (py::error_already_set& e) {
        throw Errore(Causa::dati, "le forme dei valori non si combinano (" + std::string(e.what()) + ")");
    }
    const auto nome = [](Grandezza g) { return std::string(nomi_grandezze[static_cast<std::size_t>(g)]); };
    Valori a = valori_di(forme[0], nome(noti[0].first)), b = valori_di(forme[1], nome(noti[1].first));
    Valori p = con_pressioni ? valori_di(forme[2], "pressione") : Valori{};
    const py::array prima = forme[0];
    const std::vector<py::ssize_t> forma(prima.shape(), prima.shape() + prima.ndim());
    std::array<Vettore, 7> uscite;
    for (auto& u : uscite)
        u = Vettore(forma);
    Aria aria = base;
    if (!con_pressioni) aria.pressione = numero(pressione, "pressione");
    RisultatoStati r;
    {
        const Uscite u{uscite[0].mutable_data(), uscite[1].mutable_data(), uscite[2].mutable_data(),
                       uscite[3].mutable_data(), uscite[4].mutable_data(), uscite[5].mutable_data(),
                       uscite[6].mutable_data()};
        const RichiestaStati q{noti[0].first,
                               a.numeri.data(),
                               noti[1].first,
                               b.numeri.data(),
                               static_cast<std::size_t>(a.numeri.size()),
                               aria,
                               con_pressioni ? p.numeri.data() : nullptr,
                               fili};
        py::gil_scoped_release senza_lock;
        r = stati(q, u);
    }
    if (r.errori > 0 && errors == "raise") {
        // A value that is not a number is the reason of its element's failure.
        std::string motivo = r.primo_errore;
        for (const Valori* v : {&a, &b, &p})
            for (const auto& [i, testo] : v->guasti)
                if (i == r.indice_primo_errore) motivo = testo;
        const py::object dove = posizione(r.indice_primo_errore, forma);
        solleva("elemento " + testo_di(dove) + ": " + motivo,
                py::dict(py::arg("indice") = dove, py::arg("motivo") = motivo));
    }
    py::dict d;
    for (std::size_t i = 0; i < uscite.size(); ++i)
        d[chiavi_uscite()[i]] = uscite[i];
    return d;
}

// The states of a table's columns (one-dimensional float64 arrays of one length): the pairs in order of preference
// (more than one: a NaN value is one the row does not have), each row at `pressione` (a number or an array). Returns
// the computed columns and the failed rows' positions and reasons.
py::tuple stati_py(const std::vector<std::pair<std::string, std::string>>& coppie, const py::dict& colonne,
                   const py::object& pressione, const py::object& modello, const py::object& threads,
                   bool come_rapporto) {
    if (coppie.empty()) throw Errore(Causa::dati, "nessuna coppia");
    std::array<Vettore, 6> valori;
    std::size_t n = 0;
    for (const auto& [nome, colonna] : colonne) {
        auto& v = valori[static_cast<std::size_t>(grandezza_di(nome.cast<std::string>()))];
        v = Vettore::ensure(colonna);
        n = static_cast<std::size_t>(v.size());
    }
    const auto dati = [&](Grandezza g) {
        const Vettore& v = valori[static_cast<std::size_t>(g)];
        return v ? v.data() : nullptr;
    };
    RichiestaStati r;
    r.prima = grandezza_di(coppie[0].first);
    r.seconda = grandezza_di(coppie[0].second);
    r.a = dati(r.prima);
    r.b = dati(r.seconda);
    r.n = n;
    r.fili = fili_di(threads);
    Vettore pressioni;
    if (py::isinstance<py::array>(pressione)) {
        pressioni = Vettore::ensure(pressione);
        r.pressioni = pressioni.data();
    }
    r.aria = aria_di(r.pressioni ? 101335.0 : numero(pressione, "pressione"), modello);
    OpzioniStati o;
    for (std::size_t i = 1; i < coppie.size(); ++i)
        o.altre_coppie.emplace_back(grandezza_di(coppie[i].first), grandezza_di(coppie[i].second));
    for (std::size_t g = 0; g < valori.size(); ++g)
        o.valori[g] = valori[g] ? valori[g].data() : nullptr;
    o.come_rapporto = come_rapporto;
    std::vector<ErroreStato> errori;
    o.errori = &errori;
    if (!r.a || !r.b)
        throw Errore(Causa::dati, "mancano i valori della coppia " + coppie[0].first + " e " + coppie[0].second);
    std::array<Vettore, 7> uscite;
    for (auto& u : uscite)
        u = Vettore(static_cast<py::ssize_t>(n));
    {
        const Uscite u{uscite[0].mutable_data(), uscite[1].mutable_data(), uscite[2].mutable_data(),
                       uscite[3].mutable_data(), uscite[4].mutable_data(), uscite[5].mutable_data(),
                       uscite[6].mutable_data()};
        py::gil_scoped_release senza_lock;
        stati(r, u, o);
    }
    py::dict d;
    for (std::size_t i = 0; i < uscite.size(); ++i)
        d[nomi_uscite[i]] = uscite[i];
    py::list elenco;
    for (const ErroreStato& e : errori)
        elenco.append(py::make_tuple(e.indice, e.testo));
    return py::make_tuple(d, elenco);
}

// The numbers of one column (any sequence) as float64, with the reasons of the cells that are not numbers.
py::tuple numeri_py(const py::object& colonna, const std::string& nome) {
    Valori v = valori_di(colonna, nome);
    return py::make_tuple(v.numeri, v.guasti);
}

py::tuple processo_py(const py::object& tipo, const py::object& caselle, const py::object& umidita,
                      const py::object& portata, const py::object& risposta, const py::object& pressione,
                      const py::object& modello) {
    const auto numero_intero = [](const py::object& o, const std::string& testo) {
        const auto v = intero(o);
        if (!v || *v < -1000000 || *v > 1000000) throw Errore(Causa::dati, testo);
        return static_cast<int>(*v);
    };
    RichiestaProcesso p;
    p.tipo = static_cast<TipoProcesso>(numero_intero(
        tipo, "tipo di processo " + testo_di(tipo) + " sconosciuto (usare 1, 2, 3, 4, 5, 6, 7, 13, 17 o 21)"));
    p.umidita = static_cast<FormaUmidita>(numero_intero(umidita, "umidita: " + testo_di(umidita) + " non è 0 o 1"));
    p.portata = static_cast<FormaPortata>(numero_intero(portata, "portata: " + testo_di(portata) + " non è 0 o 1"));
    if (!risposta.is_none()) p.risposta = testo_di(risposta);
    p.aria = aria_di(numero(pressione, "pressione"), modello);
    // Box texts by number (1 to 10): a number is written as Python writes it, a text is taken as it is.
    if (!caselle.is_none()) {
        if (!py::isinstance<py::dict>(caselle) && !py::hasattr(caselle, "items"))
            throw Errore(Causa::dati, "caselle: dare un dizionario dal numero della casella (1 a 10) al suo testo");
        for (const py::handle coppia : caselle.attr("items")()) {
            const py::tuple kv = py::reinterpret_borrow<py::tuple>(coppia);
            const auto n = intero(kv[0]);
            if (!n || *n < 1 || *n > 10)
                throw Errore(Causa::dati, "casella " + testo_di(kv[0]) + " inesistente (le caselle vanno da 1 a 10)");
            p.caselle[static_cast<std::size_t>(*n - 1)] = testo_di(kv[1]);
        }
    }
    RisultatoProcesso r;
    {
        py::gil_scoped_release senza_lock;
        r = processo(p);
    }
    return py::make_tuple(py::module_::import("json").attr("loads")(r.json), r.avvisi);
}

// The pair of columns of a table with these column names, as "ondix-calc stati" reads a CSV header: the two
// quantities' names, their positions and the pressure's (None without one).
py::tuple colonne_py(const std::vector<std::string>& nomi, int umidita, bool con_pressione) {
    const Colonne c =
        colonne_stati(nomi, umidita == 1 ? FormaUmidita::specifica : FormaUmidita::relativa, con_pressione);
    const auto nome = [](Grandezza g) { return nomi_grandezze[static_cast<std::size_t>(g)]; };
    return py::make_tuple(nome(c.prima), c.indice_prima, nome(c.seconda), c.indice_seconda,
                          c.indice_pressione ? py::cast(*c.indice_pressione) : py::none());
}

// A text of a file as Python's str: bytes that are not UTF-8 (a file saved in Latin-1) each become U+FFFD.
py::str testo_py(const std::string& t) {
    return py::reinterpret_steal<py::str>(
        PyUnicode_DecodeUTF8(t.data(), static_cast<py::ssize_t>(t.size()), "replace"));
}

// A file's table as a dict of plain values: formato, separatore, decimali_virgola, linee (an array), colonne (a
// list of (nome, unita, numbers as an array or None, texts as a list or None)), rifiutate ((row, reason) pairs),
// localita (a dict or None).
py::dict leggi_py(const py::object& percorso, const std::string& formato, int umidita) {
    const std::string file = py::module_::import("os").attr("fspath")(percorso).cast<std::string>();
    const Formato f = formato == "csv" ? Formato::csv : formato == "epw" ? Formato::epw : Formato::automatico;
    Tabella t;
    {
        py::gil_scoped_release senza_lock;
        t = leggi_tabella(file, f, umidita == 1 ? FormaUmidita::specifica : FormaUmidita::relativa);
    }
    py::dict d;
    d["formato"] = t.formato == Formato::epw ? "epw" : "csv";
    d["separatore"] = std::string(1, t.separatore);
    d["decimali_virgola"] = t.decimali_virgola;
    d["linee"] = py::array_t<std::size_t>(static_cast<py::ssize_t>(t.linee.size()), t.linee.data());
    py::list colonne;
    for (Colonna& c : t.colonne) {
        py::object numeri = py::none(), testi = py::none();
        if (c.numerica) numeri = Vettore(static_cast<py::ssize_t>(c.numeri.size()), c.numeri.data());
        if (!c.testi.empty()) {
            py::list l(c.testi.size());
            for (std::size_t i = 0; i < c.testi.size(); ++i)
                l[i] = testo_py(c.testi[i]);
            testi = l;
        }
        colonne.append(py::make_tuple(testo_py(c.nome), c.unita, numeri, testi));
    }
    d["colonne"] = colonne;
    py::list rifiutate;
    for (const RigaRifiutata& r : t.rifiutate)
        rifiutate.append(py::make_tuple(r.riga, r.motivo));
    d["rifiutate"] = rifiutate;
    d["localita"] = py::none();
    if (t.localita) {
        const Localita& l = *t.localita;
        d["localita"] = py::dict(py::arg("citta") = l.citta, py::arg("regione") = l.regione, py::arg("paese") = l.paese,
                                 py::arg("fonte") = l.fonte, py::arg("wmo") = l.wmo,
                                 py::arg("latitudine") = l.latitudine, py::arg("longitudine") = l.longitudine,
                                 py::arg("fuso_orario") = l.fuso_orario, py::arg("quota") = l.quota);
    }
    return d;
}

} // namespace

PYBIND11_MODULE(_ondix, m) {
    m.doc() = "The compiled part of ondix (see the package ondix).";
    tipo_errore = py::register_exception<Errore>(m, "Errore", PyExc_ValueError);
    m.attr("__version__") = versione();
    m.def("stato", &stato_py, py::kw_only(), py::arg("t") = py::none(), py::arg("ur") = py::none(),
          py::arg("x") = py::none(), py::arg("h") = py::none(), py::arg("tbu") = py::none(), py::arg("tr") = py::none(),
          py::arg("pressione") = 101335.0, py::arg("modello") = py::none(), py::arg("threads") = 1,
          py::arg("errors") = "raise",
          R"(The full state of moist air from exactly two of t (dry bulb, C), ur (relative humidity, %),
x (humidity ratio, g/kg), h (enthalpy, kJ/kg), tbu (wet bulb, C), tr (dew point, C),
at pressione (Pa; a number or an array) with modello (None: the program's own correlations,
"ashrae": the ASHRAE Handbook's).

Scalars (Python numbers, NumPy scalars, 0-d arrays) give a dict of floats; arrays (or
anything NumPy broadcasts, of any shape) a dict of float64 arrays of the broadcast shape,
computed by `threads` threads without the GIL. The keys: t, ur, x, h, v (m3/kg),
t_bulbo_umido, t_rugiada; a wet bulb or dew point the air has not is NaN. t with ur or x gives
the values of "ondix-calc stati" for a CSV row, the other pairs those of "ondix-calc stato".

A pair no air can have raises ondix.Errore with the text ondix-calc prints; for arrays the
first such element's, after "elemento I: ", its index (a tuple beyond one dimension) in the
exception's attribute `indice`. With errors="nan" such a state's values are NaN instead.
Mistakes in the call itself (two quantities not given, a pair that gives no state such as x
with tr, a pressure out of range, an unknown model, shapes that do not broadcast) raise
ondix.Errore whatever `errors` says.)");
    m.def("_stati", &stati_py, py::arg("coppie"), py::arg("colonne"), py::arg("pressione"), py::arg("modello"),
          py::arg("threads"), py::arg("come_rapporto"));
    m.def("_numeri", &numeri_py, py::arg("colonna"), py::arg("nome"));
    m.def("_processo", &processo_py, py::arg("tipo"), py::arg("caselle"), py::arg("umidita"), py::arg("portata"),
          py::arg("risposta"), py::arg("pressione"), py::arg("modello"));
    m.def("_leggi", &leggi_py, py::arg("percorso"), py::arg("formato"), py::arg("umidita"));
    m.def("nome_colonna", &nome_colonna, py::arg("nome"),
          "A column's name as ondix-calc stati reads a header: lower case, up to the first character that is\n"
          "not a letter, a digit or '_' (\"T [C]\" gives \"t\").");
    m.def("colonne_stati", &colonne_py, py::arg("nomi"), py::arg("umidita") = 0, py::arg("con_pressione") = false,
          R"(The columns a table of states is computed from, found by their names as "ondix-calc stati" finds
them in a CSV header: (first quantity, its position, second quantity, its position, position of
the pressure or None). Raises ondix.Errore with the text of ondix-calc stati when the names give
no pair or give one wrongly.)");
    m.def(
        "pressione_da_quota", [](const py::object& quota) { return pressione_da_quota(numero(quota, "quota")); },
        py::arg("quota"),
        "The atmospheric pressure, Pa, at an altitude in m (-250 to 3000), from the program's table.");
}
