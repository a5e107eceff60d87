// The envelope chart's two views. Mx–My: the section's resisting contour at the Fd of one load
// case, with that case's first-order end moments, the total moment at its critical section and
// the ellipse of the code's minimum moments, on equal scales so that the contour's shape is
// true. N–M: the resisting moment from Nt to N0 in the direction of the critical moment, with
// the case's (Nd, Md). The value under the pointer (or the arrow keys) walks the curve drawn;
// each picture is saved as the load-deflection chart's is, and its points as CSV.
import { escapeXml, roundTicks, type Point, type Range } from "./chart.js";
import type { EnvelopeOutcome } from "./core-api.js";

export const kEnvelopeSize = 460;
const kPlot = { left: 70, right: 14, top: 50, bottom: 96 };
const kEllipseSteps = 96;

// One case drawn against the contour at its Fd.
export interface EnvelopeView {
  contour: { angle: number; at: Point }[]; // the rays that meet the contour, kNcm
  axial: number; // kN
  name: string;
  top: Point;
  base: Point;
  critical: Point | null;
  utilisation: number | null;
  note: string | null; // "ruptura antes da carga de cálculo"
  ellipse: Point; // semi-axes, kNcm
  minimumInside: boolean;
}

export function envelopeView(outcome: EnvelopeOutcome, index: number): EnvelopeView | null {
  const r = outcome.result;
  const c = r.cases[index];
  const p = outcome.cases[index];
  if (r.status !== "completed" || r.axial === null || c === undefined || p === undefined) return null;
  const contour = r.contour
    .filter((ray) => ray.Mx !== null && ray.My !== null)
    .map((ray) => ({ angle: ray.angle, at: [ray.Mx as number, ray.My as number] as Point }));
  if (contour.length < 3) return null;
  return {
    contour,
    axial: r.axial,
    name: c.name,
    top: p.top,
    base: p.base,
    critical: c.criticalMoment,
    utilisation: c.utilisation,
    note: c.note,
    ellipse: p.ellipse,
    minimumInside: c.minimumEnvelopeInside,
  };
}

export interface EnvelopeGeometry {
  toScreen(p: Point): Point;
  x: { min: number; max: number };
  y: { min: number; max: number };
}

// One scale for both axes: the larger spread of everything drawn, plus 8 %, around the middle
// of each axis's own spread.
export function envelopeGeometry(v: EnvelopeView): EnvelopeGeometry {
  const all: Point[] = [...v.contour.map((c) => c.at), v.top, v.base, [v.ellipse[0], v.ellipse[1]], [-v.ellipse[0], -v.ellipse[1]], [0, 0]];
  if (v.critical !== null) all.push(v.critical);
  const xs = all.map((p) => p[0]);
  const ys = all.map((p) => p[1]);
  const span = Math.max(Math.max(...xs) - Math.min(...xs), Math.max(...ys) - Math.min(...ys), 1) * 1.08;
  const cx = (Math.max(...xs) + Math.min(...xs)) / 2;
  const cy = (Math.max(...ys) + Math.min(...ys)) / 2;
  const x = { min: cx - span / 2, max: cx + span / 2 };
  const y = { min: cy - span / 2, max: cy + span / 2 };
  const side = kEnvelopeSize - kPlot.left - kPlot.right;
  return {
    x,
    y,
    toScreen: (p) => [kPlot.left + ((p[0] - x.min) / span) * side, kPlot.top + side - ((p[1] - y.min) / span) * side],
  };
}

function xy(g: EnvelopeGeometry, p: Point): string {
  return g
    .toScreen(p)
    .map((v) => v.toFixed(1))
    .join(" ");
}

function number(v: number, decimals = 0): string {
  return v.toFixed(decimals);
}

export function envelopeSvg(v: EnvelopeView): string {
  const g = envelopeGeometry(v);
  const side = kEnvelopeSize - kPlot.left - kPlot.right;
  const left = kPlot.left;
  const top = kPlot.top;
  const right = left + side;
  const bottom = top + side;
  const height = bottom + kPlot.bottom;
  const s: string[] = [
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${kEnvelopeSize} ${height}" width="${kEnvelopeSize}" height="${height}" font-family="DejaVu Sans, Arial, sans-serif" font-size="12">`,
    `<rect width="${kEnvelopeSize}" height="${height}" fill="#fff"/>`,
    `<text x="${kEnvelopeSize / 2}" y="22" text-anchor="middle" font-size="15" font-weight="700">Envoltória resistente Mx–My, N = ${number(v.axial, 1)} kN</text>`,
    `<text x="${kEnvelopeSize / 2}" y="40" text-anchor="middle">${escapeXml(v.name)}</text>`,
  ];
  const ticks = [roundTicks(g.x), roundTicks(g.y)];
  for (const t of ticks[0].values) {
    const [sx] = g.toScreen([t, 0]);
    s.push(`<line x1="${sx.toFixed(1)}" y1="${top}" x2="${sx.toFixed(1)}" y2="${bottom}" stroke="${t === 0 ? "#888" : "#e0e4e8"}"/>`);
    s.push(`<text x="${sx.toFixed(1)}" y="${bottom + 15}" text-anchor="middle">${t.toFixed(ticks[0].decimals)}</text>`);
  }
  for (const t of ticks[1].values) {
    const [, sy] = g.toScreen([0, t]);
    s.push(`<line x1="${left}" y1="${sy.toFixed(1)}" x2="${right}" y2="${sy.toFixed(1)}" stroke="${t === 0 ? "#888" : "#e0e4e8"}"/>`);
    s.push(`<text x="${left - 5}" y="${(sy + 4).toFixed(1)}" text-anchor="end">${t.toFixed(ticks[1].decimals)}</text>`);
  }
  s.push(`<rect x="${left}" y="${top}" width="${side}" height="${side}" fill="none" stroke="#555"/>`);
  s.push(`<text x="${(left + right) / 2}" y="${bottom + 34}" text-anchor="middle">Mx (kN cm)</text>`);
  s.push(`<text transform="translate(14 ${(top + bottom) / 2}) rotate(-90)" text-anchor="middle">My (kN cm)</text>`);

  const contour = v.contour.map((c, i) => `${i === 0 ? "M" : "L"}${xy(g, c.at)}`).join(" ");
  s.push(`<path d="${contour} Z" fill="#0000a0" fill-opacity="0.06" stroke="#0000a0" stroke-width="2"/>`);
  const ellipse = Array.from({ length: kEllipseSteps }, (_, i) => {
    const a = (2 * Math.PI * i) / kEllipseSteps;
    return `${i === 0 ? "M" : "L"}${xy(g, [v.ellipse[0] * Math.cos(a), v.ellipse[1] * Math.sin(a)])}`;
  }).join(" ");
  s.push(`<path d="${ellipse} Z" fill="none" stroke="#c06000" stroke-width="1.5" stroke-dasharray="6 4"/>`);
  const [tx, ty] = g.toScreen(v.top);
  s.push(`<rect x="${(tx - 4).toFixed(1)}" y="${(ty - 4).toFixed(1)}" width="8" height="8" fill="#2a7f2a"/>`);
  const [bx, by] = g.toScreen(v.base);
  s.push(`<path d="M${bx.toFixed(1)} ${(by - 5).toFixed(1)} l5 9 h-10 Z" fill="#7a3fa0"/>`);
  if (v.critical !== null) {
    const [cx, cy] = g.toScreen(v.critical);
    s.push(`<circle cx="${cx.toFixed(1)}" cy="${cy.toFixed(1)}" r="5" fill="#c00"/>`);
    if (v.utilisation !== null) {
      s.push(`<text x="${(cx + 8).toFixed(1)}" y="${(cy - 8).toFixed(1)}" fill="#c00" font-weight="700">η = ${number(v.utilisation, 2)}</text>`);
    }
  }

  // The legend, under the axis title.
  const ly = bottom + 52;
  const items: [string, string][] = [
    [`<line x1="0" y1="0" x2="18" y2="0" stroke="#0000a0" stroke-width="2"/>`, "Envoltória"],
    [`<line x1="0" y1="0" x2="18" y2="0" stroke="#c06000" stroke-width="1.5" stroke-dasharray="6 4"/>`, v.minimumInside ? "Momentos mínimos (dentro)" : "Momentos mínimos (fora!)"],
    [`<rect x="5" y="-4" width="8" height="8" fill="#2a7f2a"/>`, "Topo (1ª ordem)"],
    [`<path d="M9 -5 l5 9 h-10 Z" fill="#7a3fa0"/>`, "Base (1ª ordem)"],
    [`<circle cx="9" cy="0" r="5" fill="#c00"/>`, v.critical !== null ? "Seção crítica (total)" : (v.note ?? "Sem ponto de cálculo")],
  ];
  items.forEach(([mark, label], i) => {
    const x = left - 40 + (i % 2) * 200;
    const y = ly + Math.floor(i / 2) * 18;
    s.push(`<g transform="translate(${x} ${y})">${mark}<text x="24" y="4">${label}</text></g>`);
  });
  s.push(`<g class="marker" visibility="hidden"><circle r="4.5" fill="none" stroke="#c00" stroke-width="2"/></g>`);
  s.push("</svg>");
  return s.join("");
}

// The contour point nearest to a position on the chart (screen units of the SVG).
export function nearestContourPoint(v: EnvelopeView, at: Point): number {
  const g = envelopeGeometry(v);
  let best = 0;
  let bestDistance = Infinity;
  v.contour.forEach((c, i) => {
    const [x, y] = g.toScreen(c.at);
    const d = (x - at[0]) ** 2 + (y - at[1]) ** 2;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  });
  return best;
}

export function contourPointText(v: EnvelopeView, index: number): string {
  const c = v.contour[index];
  return `θ = ${number(c.angle)}° · Mx = ${number(c.at[0])} kN cm · My = ${number(c.at[1])} kN cm`;
}

// The contour's points file: one ray a line, its angle and moments with the shortest digits
// that give the numbers back.
export function contourCsv(v: EnvelopeView): string {
  let text = `Ângulo (graus),Mx (kN cm),My (kN cm)\n`;
  for (const c of v.contour) text += `${c.angle},${c.at[0]},${c.at[1]}\n`;
  return text;
}

// --- The N–M view ------------------------------------------------------------------------------

// Room on the right for the last moment label, which falls on the plot's edge.
const kCurvePlot = { ...kPlot, right: 28 };

export interface InteractionView {
  name: string;
  angle: number; // degrees, the direction of the critical moment
  tension: number; // Nt, kN
  squash: number; // N0, kN
  points: [number, number | null][]; // [N, M_Rd] along the direction, from Nt to N0 (the CSV)
  outline: Point[]; // [M, N]: the direction's half, then the opposite half at -M, back to Nt
  point: Point | null; // [Md, Nd]
}

export function interactionView(outcome: EnvelopeOutcome, index: number): InteractionView | null {
  const r = outcome.result;
  const curve = outcome.curve;
  const c = r.cases[index];
  if (r.status !== "completed" || curve === null || c === undefined || r.squash === null || r.tension === null) return null;
  const outline: Point[] = [];
  for (const [N, M] of curve.points) if (M !== null) outline.push([M, N]);
  for (const [N, M] of [...curve.opposite].reverse()) if (M !== null) outline.push([-M, N]);
  if (outline.length < 3) return null;
  return { name: c.name, angle: curve.angle, tension: r.tension, squash: r.squash, points: curve.points, outline, point: curve.point };
}

// A range from lo to hi widened to whole steps of about `count` intervals (1, 2 or 5 times a
// power of ten), as the desktop's axes are.
function stepRange(lo: number, hi: number, count: number): Range {
  const raw = (hi - lo) / count;
  const power = Math.pow(10, Math.floor(Math.log10(raw)));
  const f = raw / power;
  const step = (f < 1.5 ? 1 : f < 3.5 ? 2 : f < 7.5 ? 5 : 10) * power;
  return { min: Math.floor(lo / step) * step, max: Math.ceil(hi / step) * step };
}

// M symmetric about zero over the farther of the curve and the point, N from Nt to N0 with 5 %
// of their spread beyond each.
export function interactionGeometry(v: InteractionView): EnvelopeGeometry {
  const reach = Math.max(1, ...v.outline.map((p) => Math.abs(p[0])), v.point === null ? 0 : Math.abs(v.point[0]));
  const x = stepRange(-1.1 * reach, 1.1 * reach, 6);
  const span = v.squash - v.tension;
  const y = stepRange(v.tension - 0.05 * span, v.squash + 0.05 * span, 6);
  const side = kEnvelopeSize - kCurvePlot.left - kCurvePlot.right;
  return {
    x,
    y,
    toScreen: (p) => [kCurvePlot.left + ((p[0] - x.min) / (x.max - x.min)) * side, kCurvePlot.top + side - ((p[1] - y.min) / (y.max - y.min)) * side],
  };
}

export function interactionSvg(v: InteractionView): string {
  const g = interactionGeometry(v);
  const side = kEnvelopeSize - kCurvePlot.left - kCurvePlot.right;
  const left = kCurvePlot.left;
  const top = kCurvePlot.top;
  const right = left + side;
  const bottom = top + side;
  const height = bottom + kCurvePlot.bottom;
  const s: string[] = [
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${kEnvelopeSize} ${height}" width="${kEnvelopeSize}" height="${height}" font-family="DejaVu Sans, Arial, sans-serif" font-size="12">`,
    `<rect width="${kEnvelopeSize}" height="${height}" fill="#fff"/>`,
    `<text x="${kEnvelopeSize / 2}" y="22" text-anchor="middle" font-size="15" font-weight="700">Curva N–M na direção θ = ${number(v.angle, 1)}°</text>`,
    `<text x="${kEnvelopeSize / 2}" y="40" text-anchor="middle">${escapeXml(v.name)}</text>`,
  ];
  const ticks = [roundTicks(g.x), roundTicks(g.y)];
  for (const t of ticks[0].values) {
    const [sx] = g.toScreen([t, 0]);
    s.push(`<line x1="${sx.toFixed(1)}" y1="${top}" x2="${sx.toFixed(1)}" y2="${bottom}" stroke="${t === 0 ? "#888" : "#e0e4e8"}"/>`);
    s.push(`<text x="${sx.toFixed(1)}" y="${bottom + 15}" text-anchor="middle">${t.toFixed(ticks[0].decimals)}</text>`);
  }
  for (const t of ticks[1].values) {
    const [, sy] = g.toScreen([0, t]);
    s.push(`<line x1="${left}" y1="${sy.toFixed(1)}" x2="${right}" y2="${sy.toFixed(1)}" stroke="${t === 0 ? "#888" : "#e0e4e8"}"/>`);
    s.push(`<text x="${left - 5}" y="${(sy + 4).toFixed(1)}" text-anchor="end">${t.toFixed(ticks[1].decimals)}</text>`);
  }
  s.push(`<rect x="${left}" y="${top}" width="${side}" height="${side}" fill="none" stroke="#555"/>`);
  s.push(`<text x="${(left + right) / 2}" y="${bottom + 34}" text-anchor="middle">M na direção θ (kN cm)</text>`);
  s.push(`<text transform="translate(14 ${(top + bottom) / 2}) rotate(-90)" text-anchor="middle">N (kN)</text>`);
  const outline = v.outline.map((p, i) => `${i === 0 ? "M" : "L"}${xy(g, p)}`).join(" ");
  s.push(`<path d="${outline} Z" fill="#0000a0" fill-opacity="0.06" stroke="#0000a0" stroke-width="2"/>`);
  if (v.point !== null) {
    const [px, py] = g.toScreen(v.point);
    s.push(`<circle class="design-point" cx="${px.toFixed(1)}" cy="${py.toFixed(1)}" r="5" fill="#c00"/>`);
  }
  const ly = bottom + 52;
  const items: [string, string][] = [
    [`<line x1="0" y1="0" x2="18" y2="0" stroke="#0000a0" stroke-width="2"/>`, "M_Rd(N)"],
    [`<circle cx="9" cy="0" r="5" fill="#c00"/>`, v.point !== null ? "(Nd, Md) da seção crítica" : "Sem ponto de cálculo"],
  ];
  items.forEach(([mark, label], i) => {
    s.push(`<g transform="translate(${left - 40 + i * 200} ${ly})">${mark}<text x="24" y="4">${label}</text></g>`);
  });
  s.push(`<g class="marker" visibility="hidden"><circle r="4.5" fill="none" stroke="#c00" stroke-width="2"/></g>`);
  s.push("</svg>");
  return s.join("");
}

// The outline point nearest to a position on the chart (screen units of the SVG).
export function nearestCurvePoint(v: InteractionView, at: Point): number {
  const g = interactionGeometry(v);
  let best = 0;
  let bestDistance = Infinity;
  v.outline.forEach((p, i) => {
    const [x, y] = g.toScreen(p);
    const d = (x - at[0]) ** 2 + (y - at[1]) ** 2;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  });
  return best;
}

export function curvePointText(v: InteractionView, index: number): string {
  const [M, N] = v.outline[index];
  return `N = ${number(N, 1)} kN · M = ${number(M)} kN cm`;
}

// The curve's points file: N and M_Rd along the direction, from Nt to N0; an empty M where the
// direction misses the envelope.
export function interactionCsv(v: InteractionView): string {
  let text = `N (kN),M_Rd (kN cm) na direção ${v.angle} graus\n`;
  for (const [N, M] of v.points) text += `${N},${M ?? ""}\n`;
  return text;
}
