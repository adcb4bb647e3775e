"""Pictures of the main window in each state and of the error window, in all
fifteen languages, under build/x86_64/screenshots (one PNG per window; the
i686 build's, in English, under screenshots-i686), with every text measured
against its control."""

from kit.wine import windows_path

LOCALES = ["zh-TW", "cs-CZ", "de-DE", "en-US", "fr-FR", "hu-HU", "it-IT", "ja-JP", "ko-KR", "pl-PL", "pt-BR",
           "ru-RU", "zh-CN", "pt-PT", "es-ES"]
STATES = ["initializing", "downloading", "extracting", "failure-3", "failure-8", "failure-9", "error-window"]
SYSTEM_LINK = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
CJK_FONT = "wqy-zenhei.ttc,WenQuanYi Zen Hei"


def test_every_window_in_every_language_fits_its_texts(wine, hosts, arch, build_dir, registry):
    # Windows links Chinese, Japanese and Korean glyphs into the dialog font; the prefix gets the same
    # link to the CJK font of the machine for the face that Wine chooses for "MS Shell Dlg" here. (A link
    # for a face that is not installed, such as Tahoma, makes Wine draw every text in the linked font.)
    registry.set_values(SYSTEM_LINK, {"DejaVu Sans": [CJK_FONT]})
    # The layout is the same code in both builds: the second one draws English only.
    locales = LOCALES if arch == "x86_64" else ["en-US"]
    folder = build_dir / ("screenshots" if arch == "x86_64" else f"screenshots-{arch}")
    for old in folder.glob("*.png"):
        old.unlink()
    result = wine.run(hosts / "windowhost.exe", "shots", windows_path(folder), *locales, timeout=600)
    report = result.stdout.decode("utf-8").replace("\r\n", "\n")
    clipped = [line for line in report.splitlines() if line.startswith("clipped ")]
    assert clipped == [], "\n".join(clipped)
    assert result.returncode == 0, report
    for locale in locales:
        for state in STATES:
            picture = folder / f"{locale}-{state}.png"
            assert picture.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n", picture
    # Each state of a language draws a different picture.
    assert len({(folder / f"en-US-{state}.png").read_bytes() for state in STATES}) == len(STATES)
