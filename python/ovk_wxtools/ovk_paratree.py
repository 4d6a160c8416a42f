"""The parameter-tree model: directories and books are ordered mappings of
their children, parameters ordered mappings of their attribute values (int,
float, str, bool, None, list, dict). Folders and files are given as str or
os.PathLike; errors of the model are ParaTreeError, with a message meant
for a person. A missing name is a KeyError, as in any mapping.

    tree, report = ParameterDirectory.load_with_report("参数")
    tree["电机"]["速度"]["max"] = 12
    tree.save("参数")
"""
from ._core import ovk_paratree as _model

ParaTreeEntity = _model.ParaTreeEntity
Parameter = _model.Parameter
ParameterBook = _model.ParameterBook
ParameterDirectory = _model.ParameterDirectory
ParaTreeError = _model.ParaTreeError
LoadReport = _model.LoadReport
CheckReport = _model.CheckReport
LoadResult = _model.LoadResult
LoadOptions = _model.LoadOptions
SaveReport = _model.SaveReport
SaveOptions = _model.SaveOptions
InvalidNameCharacters = _model.InvalidNameCharacters
is_valid_name = _model.is_valid_name
why_invalid_name = _model.why_invalid_name
StoredAs = _model.StoredAs
is_valid_entry_name = _model.is_valid_entry_name
why_invalid_entry_name = _model.why_invalid_entry_name
MaxFileNameBytes = _model.MaxFileNameBytes
ReservedPrefix = _model.ReservedPrefix

for _name in ("ParaTreeEntity", "Parameter", "ParameterBook", "ParameterDirectory", "ParaTreeError", "LoadReport",
              "CheckReport", "LoadOptions", "LoadResult", "SaveReport", "SaveOptions", "StoredAs"):
    globals()[_name].__module__ = __name__

__all__ = ["CheckReport", "InvalidNameCharacters", "LoadOptions", "LoadReport", "LoadResult", "MaxFileNameBytes", "ParaTreeEntity",
           "ParaTreeError", "Parameter", "ParameterBook", "ParameterDirectory", "ReservedPrefix", "SaveOptions",
           "SaveReport", "StoredAs", "is_valid_entry_name", "is_valid_name", "why_invalid_entry_name",
           "why_invalid_name"]
