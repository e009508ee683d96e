#!/usr/bin/python3
"""Writes the hand-made workbooks of the import tests with the standard library alone, so that
every byte of their XML is chosen here. Run again only to renew them:
    /usr/bin/python3 tests/sheets/make_hostile_workbooks.py tests/sheets/workbooks
"""
import sys
import zipfile
from pathlib import Path

folder = Path(sys.argv[1])

REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"


def workbook(path, rows, shared=None, styles=None):
    """rows: the sheet's <row> elements; shared: the sharedStrings body, written in pieces."""
    rels = f'<Relationship Id="rId1" Type="{REL}worksheet" Target="worksheets/sheet1.xml"/>'
    if shared is not None:
        rels += f'<Relationship Id="rId2" Type="{REL}sharedStrings" Target="sharedStrings.xml"/>'
    if styles is not None:
        rels += f'<Relationship Id="rId3" Type="{REL}styles" Target="styles.xml"/>'
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        # No content types and no package relationships: the reader looks where Excel puts it.
        z.writestr("xl/workbook.xml",
                   f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets>'
                   '<sheet name="名单" sheetId="1" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels",
                   f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                   f'relationships">{rels}</Relationships>')
        z.writestr("xl/worksheets/sheet1.xml",
                   f'<worksheet xmlns="{MAIN}"><sheetData>{"".join(rows)}</sheetData></worksheet>')
        if styles is not None:
            z.writestr("xl/styles.xml", styles)
        if shared is not None:
            with z.open("xl/sharedStrings.xml", "w", force_zip64=True) as out:
                out.write(f'<sst xmlns="{MAIN}">'.encode())
                for piece in shared:
                    out.write(piece)
                out.write(b"</sst>")


# Dates as Excel stores them: a serial number and a style whose format shows a date.
styles = (f'<styleSheet xmlns="{MAIN}"><numFmts count="1">'
          '<numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/>'
          '</numFmts><cellXfs count="5"><xf numFmtId="0"/><xf numFmtId="14"/>'
          '<xf numFmtId="164"/><xf numFmtId="22"/><xf numFmtId="20"/></cellXfs></styleSheet>')
workbook(folder / "dates.xlsx",
         ['<row r="1"><c r="A1" t="inlineStr"><is><t>张三</t></is></c><c r="B1" s="1"><v>45291</v></c></row>',
          '<row r="2"><c r="A2" t="inlineStr"><is><t>李四</t></is></c><c r="B2" s="2"><v>45658</v></c></row>',
          '<row r="3"><c r="A3" s="3"><v>45291.5</v></c><c r="B3" s="4"><v>0.75</v></c><c r="C3"><v>45291</v></c></row>'],
         styles=styles)


# What other writers leave: inline strings, a shared string in two rich runs, a number, a
# boolean and a formula with its text.
workbook(folder / "rich_inline.xlsx",
         ['<row r="1"><c r="A1" t="inlineStr"><is><t>张三</t></is></c><c r="C1"><v>13800138000</v></c></row>',
          '<row r="3"><c r="B3"><v>2.5</v></c><c r="D3" t="b"><v>0</v></c></row>',
          '<row r="4"><c r="A4" t="s"><v>0</v></c></row>',
          '<row r="5"><c r="A5" t="str"><f>"a"&amp;"b"</f><v>ab</v></c></row>'],
         shared=['<si><r><rPr><b/></rPr><t>王</t></r><r><t>五</t></r></si>'.encode()])


def one_huge_string():
    yield b"<si><t>"
    for _ in range(300):
        yield b"a" * 1_000_000
    yield b"</t></si>"


# One shared string of 300 million characters, from a file of 300 kilobytes.
workbook(folder / "bomb_one_string.xlsx", ['<row r="1"><c r="A1" t="s"><v>0</v></c></row>'],
         shared=one_huge_string())
