from typing import Any, Mapping, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt
import pandas as pd

__version__: str

class Errore(ValueError): ...

_Valori = Union[float, int, npt.ArrayLike]

def stato(
    *,
    t: Optional[_Valori] = None,
    ur: Optional[_Valori] = None,
    x: Optional[_Valori] = None,
    h: Optional[_Valori] = None,
    tbu: Optional[_Valori] = None,
    tr: Optional[_Valori] = None,
    pressione: _Valori = 101335.0,
    modello: Optional[str] = None,
    threads: int = 1,
    errors: str = "raise",
) -> dict[str, Union[float, np.ndarray]]: ...
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
def stati(
    df: pd.DataFrame,
    *,
    umidita: int = 0,
    pressione: Union[float, Sequence[float], npt.ArrayLike, str] = 101335.0,
    modello: Optional[str] = None,
    threads: int = 1,
) -> pd.DataFrame: ...
