// The compiled part of the Python module ondix: states from a pair (scalars or NumPy arrays, computed by the
// library with the interpreter's lock released) and processes (their JSON). ondix/__init__.py adds the rest.
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

Aria aria_di(double pressione, const std::optional<std::string>& modello) {
    return {pressione, modello.value_or("")};
}

bool scalare(const py::handle& o) {
    return PyFloat_Check(o.ptr()) || (PyLong_Check(o.ptr()) && !PyBool_Check(o.ptr()));
}

py::dict stato_py(py::object t, py::object ur, py::object x, py::object h, py::object tbu, py::object tr,
                  py::object pressione, std::optional<std::string> modello, unsigned threads,
                  const std::string& errors) {
    if (errors != "raise" && errors != "nan")
        throw py::value_error("errors: \"" + errors + "\" (usare \"raise\" o \"nan\")");
    std::vector<std::pair<Grandezza, py::object>> noti;
    const std::array<py::object*, 6> valori{&t, &ur, &x, &h, &tbu, &tr};
    for (std::size_t i = 0; i < valori.size(); ++i)
        if (!valori[i]->is_none()) noti.emplace_back(static_cast<Grandezza>(i), *valori[i]);
    if (noti.size() != 2)
        throw Errore(Causa::dati,
                     "dare esattamente due fra t, ur, x, h, tbu, tr (date: " + std::to_string(noti.size()) + ")");
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    // Scalars: one state, the values as floats.
    if (scalare(noti[0].second) && scalare(noti[1].second) && scalare(pressione)) {
        const double a = noti[0].second.cast<double>(), b = noti[1].second.cast<double>();
        const Aria aria = aria_di(pressione.cast<double>(), modello);
        std::array<double, 7> v;
        try {
            const Stato s = stato({noti[0].first, a}, {noti[1].first, b}, aria);
            v = {s.t, s.ur, s.x, s.h, s.v, s.t_bulbo_umido.value_or(nan), s.t_rugiada.value_or(nan)};
        } catch (const Errore& e) {
            if (errors == "raise" || e.causa() != Causa::dati) throw;
            v.fill(nan);
        }
        py::dict d;
        for (std::size_t i = 0; i < v.size(); ++i)
            d[nomi_uscite[i]] = v[i];
        return d;
    }

    // Arrays: broadcast to one shape, computed in C++ without the interpreter's lock.
    const py::module_ np = py::module_::import("numpy");
    const bool con_pressioni = !scalare(pressione);
    py::tuple forme = con_pressioni ? np.attr("broadcast_arrays")(noti[0].second, noti[1].second, pressione)
                                    : np.attr("broadcast_arrays")(noti[0].second, noti[1].second);
    using Vettore = py::array_t<double, py::array::c_style | py::array::forcecast>;
    const auto contiguo = [&](py::handle o) { return Vettore::ensure(np.attr("ascontiguousarray")(o, "float64")); };
    const Vettore a = contiguo(forme[0]), b = contiguo(forme[1]);
    const Vettore p = con_pressioni ? contiguo(forme[2]) : Vettore();
    const std::vector<py::ssize_t> forma(a.shape(), a.shape() + a.ndim());
    std::array<Vettore, 7> uscite;
    for (auto& u : uscite)
        u = Vettore(forma);
    const Aria aria = aria_di(con_pressioni ? 101335.0 : pressione.cast<double>(), modello);
    std::string primo;
    std::size_t errori = 0;
    {
        const Uscite u{uscite[0].mutable_data(), uscite[1].mutable_data(), uscite[2].mutable_data(),
                       uscite[3].mutable_data(), uscite[4].mutable_data(), uscite[5].mutable_data(),
                       uscite[6].mutable_data()};
        const double* pa = a.data();
        const double* pb = b.data();
        const double* pp = con_pressioni ? p.data() : nullptr;
        const auto n = static_cast<std::size_t>(a.size());
        py::gil_scoped_release senza_lock;
        const RisultatoStati r = stati(RichiestaStati{noti[0].first, pa, noti[1].first, pb, n, aria, pp, threads}, u);
        errori = r.errori;
        primo = r.primo_errore;
    }
    if (errori > 0 && errors == "raise") throw Errore(Causa::dati, primo);
    py::dict d;
    for (std::size_t i = 0; i < uscite.size(); ++i)
        d[nomi_uscite[i]] = uscite[i];
    return d;
}

py::object processo_py(int tipo, const py::object& caselle, int umidita, int portata,
                       std::optional<std::string> risposta, double pressione, std::optional<std::string> modello) {
    RichiestaProcesso p;
    p.tipo = static_cast<TipoProcesso>(tipo);
    p.umidita = static_cast<FormaUmidita>(umidita);
    p.portata = static_cast<FormaPortata>(portata);
    p.risposta = std::move(risposta);
    p.aria = aria_di(pressione, modello);
    // Box texts by number (1 to 10): a number is written as Python writes it, as a text it is taken as it is.
    if (!caselle.is_none()) {
        for (const auto& [chiave, valore] : caselle.cast<py::dict>()) {
            const int n = chiave.cast<int>();
            if (n < 1 || n > 10)
                throw Errore(Causa::dati, "casella " + std::to_string(n) + " inesistente (le caselle vanno da 1 a 10)");
            p.caselle[static_cast<std::size_t>(n - 1)] =
                py::isinstance<py::str>(valore) ? valore.cast<std::string>() : py::str(valore).cast<std::string>();
        }
    }
    RisultatoProcesso r;
    {
        py::gil_scoped_release senza_lock;
        r = processo(p);
    }
    return py::module_::import("json").attr("loads")(r.json);
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

} // namespace

PYBIND11_MODULE(_ondix, m) {
    m.doc() = "The compiled part of ondix (see the package ondix).";
    py::register_exception<Errore>(m, "Errore", PyExc_ValueError);
    m.attr("__version__") = versione();
    m.def("stato", &stato_py, py::kw_only(), py::arg("t") = py::none(), py::arg("ur") = py::none(),
          py::arg("x") = py::none(), py::arg("h") = py::none(), py::arg("tbu") = py::none(), py::arg("tr") = py::none(),
          py::arg("pressione") = 101335.0, py::arg("modello") = py::none(), py::arg("threads") = 1u,
          py::arg("errors") = "raise",
          R"(The full state of moist air from exactly two of t (dry bulb, C), ur (relative humidity, %),
x (humidity ratio, g/kg), h (enthalpy, kJ/kg), tbu (wet bulb, C), tr (dew point, C),
at pressione (Pa; a number or an array) with modello (None: the program's own correlations,
"ashrae": the ASHRAE Handbook's).

Scalars give a dict of floats; arrays (or anything NumPy broadcasts, of any shape) a dict of
float64 arrays of the broadcast shape, computed by `threads` threads without the GIL. The keys:
t, ur, x, h, v (m3/kg), t_bulbo_umido, t_rugiada; a wet bulb or dew point the air has not is NaN.
t with ur or x gives the values of "ondix-calc stati" for a CSV row, the other pairs those of
"ondix-calc stato".

A pair no air can have raises ondix.Errore with the text ondix-calc prints (for arrays, the
first one's); with errors="nan" its values are NaN instead.)");
    m.def("processo", &processo_py, py::arg("tipo"), py::arg("caselle") = py::none(), py::kw_only(),
          py::arg("umidita") = 0, py::arg("portata") = 0, py::arg("risposta") = py::none(),
          py::arg("pressione") = 101335.0, py::arg("modello") = py::none(),
          R"(Runs the process KIND `tipo` as "ondix-calc KIND --json" does and returns that JSON object
as a dict (the same keys). `caselle` maps box numbers (1 to 10) to their texts or numbers, as
--e1 ... --e10; umidita, portata and risposta are --umidita, --portata and --risposta.

A floating-point error, or inputs that admit no possible plant, raise ondix.Errore with the
message ondix-calc prints.)");
    m.def("colonne_stati", &colonne_py, py::arg("nomi"), py::arg("umidita") = 0, py::arg("con_pressione") = false,
          R"(The columns a table of states is computed from, found by their names as "ondix-calc stati" finds
them in a CSV header: (first quantity, its position, second quantity, its position, position of
the pressure or None). Raises ondix.Errore with the text of ondix-calc stati when the names give
no pair or give one wrongly.)");
    m.def("pressione_da_quota", &pressione_da_quota, py::arg("quota"),
          "The atmospheric pressure, Pa, at an altitude in m (-250 to 3000), from the program's table.");
}
