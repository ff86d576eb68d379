// The one way a function that can fail says so: an Esito holds either the value or the reason (an Errore), never
// both. Core, command line and windows all use it; each shows the reason's text as it stands.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace ondix {

// What kind of failure it is; the command line picks its exit status from it.
enum class Causa {
    dati,           // an input, option or file content that cannot be used (exit 2)
    file,           // a file or stream that cannot be read or written (exit 2)
    virgola_mobile, // a floating-point error stopped a calculation (exit 3)
    impianto,       // the inputs admit no possible plant or lie outside their physical range (exit 4)
};

// The reason for a failure: its kind and the text for the user (Italian, ready to show).
struct Errore {
    Causa causa = Causa::dati;
    std::string testo;
    friend bool operator==(const Errore&, const Errore&) = default;
};

// A value of type T, or the reason there is none.
template <class T> class [[nodiscard]] Esito {
public:
    Esito(T valore) : m_dato(std::in_place_index<0>, std::move(valore)) {}
    Esito(Errore errore) : m_dato(std::in_place_index<1>, std::move(errore)) {}

    bool ok() const { return m_dato.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    T& operator*() & { return std::get<0>(m_dato); }
    const T& operator*() const& { return std::get<0>(m_dato); }
    T&& operator*() && { return std::get<0>(std::move(m_dato)); }
    T* operator->() { return &std::get<0>(m_dato); }
    const T* operator->() const { return &std::get<0>(m_dato); }
    // The reason; only when !ok().
    const Errore& errore() const { return std::get<1>(m_dato); }

private:
    std::variant<T, Errore> m_dato;
};

// Success with nothing to return, or the reason for the failure.
template <> class [[nodiscard]] Esito<void> {
public:
    Esito() = default;
    Esito(Errore errore) : m_errore(std::move(errore)) {}

    bool ok() const { return !m_errore; }
    explicit operator bool() const { return ok(); }
    const Errore& errore() const { return *m_errore; }

private:
    std::optional<Errore> m_errore;
};

using Fatto = Esito<void>;

} // namespace ondix
