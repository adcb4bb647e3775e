"""A DLL left beside the stub under the name of a DLL that the stub uses is never
loaded: the stub runs from the user's download folder, where a web page can drop
files. Wine prefers its own DLLs; WINEDLLOVERRIDES="<names>=n,b" makes it look
in the program's folder first for those names, as Windows does for every DLL
that is not a KnownDLL."""

import os
import shutil
import subprocess

from kit.stub import EMPTY_WORKFLOW, log_lines
from kit.wine import wine_environment, windows_path


def test_dlls_planted_beside_a_signed_stub_are_not_loaded_and_change_nothing(
        wine, helpers, packer, trusted_signer, tmp_path, execution_log):
    names = [name for name in os.environ.get("TARNWICK_DELAY_LOADED_DLLS", "").split(",") if name]
    assert names, "TARNWICK_DELAY_LOADED_DLLS is not set: run the scenario tests through ctest"
    # With version=n,b Wine's own system DLLs take version.dll from the program's
    # folder even for a program that never uses it: that load is Wine's, not the stub's.
    names = [name for name in names if name != "version"]
    downloads = tmp_path / "Downloads"
    downloads.mkdir()
    stub = shutil.copy(packer.pack(EMPTY_WORKFLOW, signer=trusted_signer), downloads / "TarnwickSetup.exe")
    env = wine_environment(WINEDLLOVERRIDES=",".join(names) + "=n,b")

    alone = wine.run(stub, "-showmetadata", env=env)
    alone_messages = log_lines(execution_log.read_bytes())
    assert alone.returncode == 0
    assert alone_messages[-1] == f"ERROR:: Embedded metadata = [{EMPTY_WORKFLOW}]."

    for name in names:
        shutil.copy(helpers / "plantedlibrary.dll", downloads / f"{name}.dll")
    execution_log.write_bytes(b"")
    process = wine.start(stub, "-showmetadata", env=env)
    try:
        planted = wine.finish(process, timeout=60)
    except subprocess.TimeoutExpired:
        planted = None  # a planted DLL in the process can keep it from ending

    assert sorted(path.name for path in downloads.glob("*.loaded")) == []
    assert planted is not None, "the stub did not end"
    assert planted.returncode == alone.returncode
    assert log_lines(execution_log.read_bytes()) == alone_messages


def test_a_planted_library_leaves_its_marker_when_it_is_loaded(wine, helpers, tmp_path):
    """The marker that the test above looks for does appear when Windows loads the DLL."""
    planted = shutil.copy(helpers / "plantedlibrary.dll", tmp_path / "wintrust.dll")
    wine.run("rundll32.exe", windows_path(planted) + ",NoSuchEntry",
             env=wine_environment(WINEDLLOVERRIDES="wintrust=n,b"))
    assert (tmp_path / "wintrust.dll.loaded").exists()
