import os
from typing import Any, Literal, Mapping, Optional, Protocol, Sequence, Union, overload

import numpy as np
import numpy.typing as npt
import pandas as pd

__version__: str

class Errore(ValueError): ...
class Avviso(UserWarning): ...

# A value given alone: the result is a float.
_Scalare = Union[float, int, np.floating[Any], np.integer[Any]]
class _ComeArray(Protocol):
    def __array__(self) -> npt.NDArray[Any]: ...

# Values of any shape NumPy broadcasts (arrays, sequences, pandas Series): the result is an array.
_Array = Union[_ComeArray, Sequence[float], Sequence[Sequence[float]]]
_Errors = Literal["raise", "nan"]

@overload
def stato(  # type: ignore[misc]
    *,
    t: Optional[_Scalare] = None,
    ur: Optional[_Scalare] = None,
    x: Optional[_Scalare] = None,
    h: Optional[_Scalare] = None,
    tbu: Optional[_Scalare] = None,
    tr: Optional[_Scalare] = None,
    pressione: _Scalare = 101335.0,
    modello: Optional[str] = None,
    threads: int = 1,
    errors: _Errors = "raise",
) -> dict[str, float]: ...
@overload
def stato(
    *,
    t: Union[_Scalare, _Array, None] = None,
    ur: Union[_Scalare, _Array, None] = None,
    x: Union[_Scalare, _Array, None] = None,
    h: Union[_Scalare, _Array, None] = None,
    tbu: Union[_Scalare, _Array, None] = None,
    tr: Union[_Scalare, _Array, None] = None,
    pressione: Union[_Scalare, _Array] = 101335.0,
    modello: Optional[str] = None,
    threads: int = 1,
    errors: _Errors = "raise",
) -> dict[str, npt.NDArray[np.float64]]: ...
def processo(
    tipo: int,
    caselle: Optional[Mapping[int, Union[str, float, int]]] = None,
    *,
    umidita: int = 0,
    portata: int = 0,
    risposta: Optional[str] = None,
    pressione: float = 101335.0,
    modello: Optional[str] = None,
) -> dict[str, Any]: ...
def pressione_da_quota(quota: float) -> float: ...
def nome_colonna(nome: str) -> str: ...
def stati(
    df: pd.DataFrame,
    *,
    da: Union[tuple[str, str], Sequence[tuple[str, str]], Mapping[str, Any], None] = None,
    umidita: Optional[int] = None,
    pressione: Union[float, Sequence[float], npt.NDArray[Any], Literal["file"]] = 101335.0,
    modello: Optional[str] = None,
    threads: int = 1,
    errors: _Errors = "nan",
) -> pd.DataFrame: ...
def leggi_csv(percorso: Union[str, os.PathLike[str]], *, umidita: int = 0) -> pd.DataFrame: ...
def leggi_epw(percorso: Union[str, os.PathLike[str]]) -> pd.DataFrame: ...
def leggi(percorso: Union[str, os.PathLike[str]], *, umidita: int = 0) -> pd.DataFrame: ...
