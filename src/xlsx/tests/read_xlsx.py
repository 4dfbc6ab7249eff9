#!/usr/bin/python3
"""Prints what an .xlsx file holds, one line per item, for the tests to compare:

  sheet NAME freeze=CELL protected=0|1
  col LETTER width=W [hidden]
  row N height=H [hidden]
  merged A1:B2
  image CELL
  cell REF t=TYPE v=VALUE [cached=VALUE] nf=FORMAT [font=FACE/SIZE[/b][/i][/u][/s]] [color=RGB]
       [fill=RGB] [left|right|top|bottom=STYLE:RGB] [align=H] lock=0|1
  page setup margins=L,R,T,B,HEADER,FOOTER paper=N orientation=O fit=0|1 fitWidth=W fitHeight=H
       grid=0|1 headings=0|1 titles=ROWS
  page header|footer L=TEXT C=TEXT R=TEXT font=FACE size=N   (only when there is one)

Values are repr() of what openpyxl reads; cached= is the stored result of a formula (the file
opened a second time with data_only). Only cells with a value or a look of their own are listed.
"""
import sys

import openpyxl


def rgb(colour):
    if colour is None or colour.type != "rgb" or colour.rgb in (None, "00000000"):
        return None
    return str(colour.rgb)[-6:]


def main(path):
    book = openpyxl.load_workbook(path)
    cached = openpyxl.load_workbook(path, data_only=True)
    for ws in book.worksheets:
        wc = cached[ws.title]
        print(f"sheet {ws.title} freeze={ws.freeze_panes} protected={int(bool(ws.protection.sheet))}")
        for letter, dim in sorted(ws.column_dimensions.items()):
            if dim.customWidth or dim.hidden:
                print(f"col {letter} width={dim.width:.2f}" + (" hidden" if dim.hidden else ""))
        for number, dim in sorted(ws.row_dimensions.items()):
            if dim.customHeight or dim.hidden:
                print(f"row {number} height={dim.height}" + (" hidden" if dim.hidden else ""))
        for merged in sorted(str(r) for r in ws.merged_cells.ranges):
            print(f"merged {merged}")
        for image in ws._images:
            anchor = image.anchor._from
            print(f"image {openpyxl.utils.get_column_letter(anchor.col + 1)}{anchor.row + 1}")
        for row in ws.iter_rows():
            for cell in row:
                if cell.value is None and not cell.has_style:
                    continue
                parts = [f"cell {cell.coordinate}", f"t={cell.data_type}", f"v={cell.value!r}"]
                if cell.data_type == "f":
                    parts.append(f"cached={wc[cell.coordinate].value!r}")
                parts.append(f"nf={cell.number_format}")
                font = cell.font
                if font.name != "Calibri" or font.sz not in (None, 11.0) or font.b or font.i or font.u or font.strike:
                    flags = "".join(f"/{k}" for k, on in (("b", font.b), ("i", font.i), ("u", font.u), ("s", font.strike)) if on)
                    parts.append(f"font={font.name}/{font.sz}{flags}")
                if rgb(font.color):
                    parts.append(f"color={rgb(font.color)}")
                if cell.fill is not None and cell.fill.fill_type == "solid" and rgb(cell.fill.fgColor):
                    parts.append(f"fill={rgb(cell.fill.fgColor)}")
                for side in ("left", "right", "top", "bottom"):
                    border = getattr(cell.border, side)
                    if border is not None and border.style:
                        parts.append(f"{side}={border.style}:{rgb(border.color)}")
                if cell.alignment.horizontal:
                    parts.append(f"align={cell.alignment.horizontal}")
                parts.append(f"lock={int(bool(cell.protection.locked))}")
                print(" ".join(parts))
        m = ws.page_margins
        setup = ws.page_setup
        fit = ws.sheet_properties.pageSetUpPr is not None and bool(ws.sheet_properties.pageSetUpPr.fitToPage)
        print(f"page setup margins={m.left:.3f},{m.right:.3f},{m.top:.3f},{m.bottom:.3f},{m.header:.3f},{m.footer:.3f}"
              f" paper={setup.paperSize} orientation={setup.orientation} fit={int(fit)}"
              # The file leaves out a fit of 1 page, the format's default.
              f" fitWidth={1 if setup.fitToWidth is None else setup.fitToWidth}"
              f" fitHeight={1 if setup.fitToHeight is None else setup.fitToHeight}"
              f" grid={int(bool(ws.print_options.gridLines))} headings={int(bool(ws.print_options.headings))}"
              f" titles={ws.print_title_rows}")
        for name, block in (("header", ws.oddHeader), ("footer", ws.oddFooter)):
            if not any(section.text for section in (block.left, block.center, block.right)):
                continue
            parts = [f"page {name}"]
            for key, section in (("L", block.left), ("C", block.center), ("R", block.right)):
                parts.append(f"{key}={section.text!r}")
            first = next((s for s in (block.left, block.center, block.right) if s.text), block.left)
            parts.append(f"font={first.font} size={first.size}")
            print(" ".join(parts))


if __name__ == "__main__":
    main(sys.argv[1])
