// The load-deflection chart: the curve of the last verification drawn as SVG with round grid
// values, the value under the pointer (or under the arrow keys), and the files the desktop's
// chart window saves: the picture (PNG or SVG) and the points (CSV).
export type Point = [number, number]; // deflection (mm), axial force (kN)

export const kChartWidth = 520;
export const kChartHeight = 390;
const kPlot = { left: 66, right: 16, top: 40, bottom: 54 };
const kMaxDrawnSteps = 500;

export interface Range {
  min: number;
  max: number;
}

// min - 5 % and max + 5 % of the spread; equal values (a column under axial load alone does
// not deflect) are opened by 5 % of the value around it, or by 1 around zero.
export function axisRange(lo: number, hi: number): Range {
  const spread = hi - lo;
  let r = { min: lo - 0.05 * spread, max: hi + 0.05 * spread };
  if (!(r.max > r.min) || !Number.isFinite(r.min) || !Number.isFinite(r.max)) {
    const half = Number.isFinite(lo) && lo !== 0 ? 0.05 * Math.abs(lo) : 1;
    const centre = Number.isFinite(lo) ? lo : 0;
    r = { min: centre - half, max: centre + half };
  }
  return r;
}

// Grid values at 1, 2 or 5 times a power of ten, about five over the range.
export function roundTicks(r: Range): { values: number[]; decimals: number } {
  const raw = (r.max - r.min) / 5;
  const power = Math.pow(10, Math.floor(Math.log10(raw)));
  const f = raw / power;
  const step = (f < 1.5 ? 1 : f < 3.5 ? 2 : f < 7.5 ? 5 : 10) * power;
  const decimals = step >= 1 ? 0 : Math.ceil(-Math.log10(step) - 1e-9);
  const values: number[] = [];
  for (let v = Math.ceil(r.min / step - 1e-9) * step; v <= r.max + step * 1e-9; v += step) {
    values.push(Number(v.toFixed(decimals)));
  }
  return { values, decimals };
}

// The points drawn: the rows the verification wrote, at most 500.
export function chartPoints(curve: readonly Point[], reachedStep: number): Point[] {
  return curve.slice(0, Math.min(reachedStep, curve.length, kMaxDrawnSteps));
}

export function deflectionTitle(topFree: boolean): string {
  return topFree ? "Flecha no topo (mm)" : "Flecha no centro (mm)";
}

// The points file: a heading line, then "deflection,force" per point with the shortest digits
// that give the number back.
export function pointsCsv(points: readonly Point[], topFree: boolean): string {
  let text = `${deflectionTitle(topFree)},Força normal (kN)\n`;
  for (const [x, y] of points) text += `${x},${y}\n`;
  return text;
}

export interface ChartGeometry {
  toScreen(p: Point): Point;
  x: Range;
  y: Range;
}

export function chartGeometry(points: readonly Point[]): ChartGeometry {
  const xs = points.map((p) => p[0]);
  const ys = points.map((p) => p[1]);
  const x = axisRange(Math.min(...xs), Math.max(...xs));
  const y = axisRange(Math.min(...ys), Math.max(...ys));
  const pw = kChartWidth - kPlot.left - kPlot.right;
  const ph = kChartHeight - kPlot.top - kPlot.bottom;
  return {
    x,
    y,
    toScreen: (p) => [
      kPlot.left + ((p[0] - x.min) / (x.max - x.min)) * pw,
      kPlot.top + ph - ((p[1] - y.min) / (y.max - y.min)) * ph,
    ],
  };
}

export function escapeXml(text: string): string {
  return text.replace(/[&<>]/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;" })[c] ?? c);
}

function f1(v: number): string {
  return v.toFixed(1);
}

// `caseName`: the load case whose curve is drawn, when the run had several.
export function chartSvg(points: readonly Point[], topFree: boolean, caseName = ""): string {
  const g = chartGeometry(points);
  const left = kPlot.left;
  const right = kChartWidth - kPlot.right;
  const top = kPlot.top;
  const bottom = kChartHeight - kPlot.bottom;
  const s: string[] = [
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${kChartWidth} ${kChartHeight}" width="${kChartWidth}" height="${kChartHeight}" font-family="DejaVu Sans, Arial, sans-serif" font-size="13">`,
    `<rect width="${kChartWidth}" height="${kChartHeight}" fill="#fff"/>`,
    `<text x="${kChartWidth / 2}" y="24" text-anchor="middle" font-size="16" font-weight="700">Curva Carga-flecha${caseName === "" ? "" : ` — ${escapeXml(caseName)}`}</text>`,
  ];
  const xt = roundTicks(g.x);
  for (const v of xt.values) {
    const [sx] = g.toScreen([v, g.y.min]);
    s.push(`<line x1="${f1(sx)}" y1="${top}" x2="${f1(sx)}" y2="${bottom}" stroke="#e0e4e8"/>`);
    s.push(`<text x="${f1(sx)}" y="${bottom + 16}" text-anchor="middle">${v.toFixed(xt.decimals)}</text>`);
  }
  const yt = roundTicks(g.y);
  for (const v of yt.values) {
    const [, sy] = g.toScreen([g.x.min, v]);
    s.push(`<line x1="${left}" y1="${f1(sy)}" x2="${right}" y2="${f1(sy)}" stroke="#e0e4e8"/>`);
    s.push(`<text x="${left - 6}" y="${f1(sy + 4)}" text-anchor="end">${v.toFixed(yt.decimals)}</text>`);
  }
  s.push(`<rect x="${left}" y="${top}" width="${right - left}" height="${bottom - top}" fill="none" stroke="#555"/>`);
  s.push(`<text x="${(left + right) / 2}" y="${kChartHeight - 14}" text-anchor="middle">${deflectionTitle(topFree)}</text>`);
  s.push(`<text transform="translate(16 ${(top + bottom) / 2}) rotate(-90)" text-anchor="middle">Força normal (kN)</text>`);
  const path = points.map((p, i) => `${i === 0 ? "M" : "L"}${g.toScreen(p).map(f1).join(" ")}`).join(" ");
  s.push(`<path d="${path}" fill="none" stroke="#0000a0" stroke-width="2"/>`);
  s.push(`<g class="marker" visibility="hidden"><circle r="4.5" fill="none" stroke="#c00" stroke-width="2"/></g>`);
  s.push("</svg>");
  return s.join("");
}

// The point nearest to a position on the chart (screen units of the SVG).
export function nearestPoint(points: readonly Point[], at: Point): number {
  const g = chartGeometry(points);
  let best = 0;
  let bestDistance = Infinity;
  points.forEach((p, i) => {
    const [x, y] = g.toScreen(p);
    const d = (x - at[0]) ** 2 + (y - at[1]) ** 2;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  });
  return best;
}

export function pointText(p: Point, topFree: boolean): string {
  const deflection = topFree ? "Flecha no topo" : "Flecha no centro";
  return `${deflection} = ${p[0].toFixed(2)} mm · Força normal = ${p[1].toFixed(1)} kN`;
}

// A chart's SVG drawn into a PNG of the given size, as the saved picture.
export async function svgToPng(svg: string, width: number, height: number): Promise<Blob | null> {
  const image = new Image();
  image.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(svg)}`;
  await image.decode();
  const canvas = document.createElement("canvas");
  canvas.width = width;
  canvas.height = height;
  const context = canvas.getContext("2d");
  if (context === null) return null;
  context.drawImage(image, 0, 0, width, height);
  return new Promise<Blob | null>((resolve) => canvas.toBlob(resolve, "image/png"));
}
