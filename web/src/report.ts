// The calculation report as A4 sheets: the core cuts its report lines into printed pages and
// numbers them; the page lays each sheet out in a fixed-pitch font (the lines are tabulated by
// character columns) and lets the browser print it or save it as PDF. The envelope's sheet
// holds the Mx–My drawing of its governing case above the core's table.
import type { ReportPage } from "./core-api.js";
import { envelopeSvg, envelopeView } from "./envelope-chart.js";

function escape(text: string): string {
  return text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;");
}

export function reportHtml(pages: readonly ReportPage[], chartSvg: string | null): string {
  return pages
    .map((page) => {
      const lines = page.lines.map((l) => `<div class="line${l.bold ? " bold" : ""}">${escape(l.text)}</div>`).join("");
      const view = page.envelope === undefined ? null : envelopeView(page.envelope, 0);
      const body = page.chart
        ? `<div class="report-chart">${chartSvg ?? ""}</div>`
        : view !== null
          ? `<div class="report-envelope">${envelopeSvg(view)}</div>${lines}`
          : lines;
      return `<section class="sheet" aria-label="Página ${page.number}"><p class="page-number">${page.number}</p>${body}</section>`;
    })
    .join("");
}
