// The live drawing of the section: the outline and the bars the core computed, scaled to fit;
// for polygons also the vertex numbers and an arrow along the first side, which shows the order
// the vertices were typed in (the core wants them counter-clockwise).
import type { SectionOutcome } from "./core-api.js";

const W = 400;
const H = 300;
const kMargin = 28;
const kBarRadius = 0.8; // cm, as the desktop draws the bars

type Pt = [number, number];

function fmt(v: number): string {
  return (Math.round(v * 10) / 10).toString();
}

export interface DrawingOptions {
  numberVertices: boolean;
}

export function sectionSvg(section: SectionOutcome, options: DrawingOptions): string {
  const outline = section.outline;
  const open = `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${W} ${H}" font-family="DejaVu Sans, Arial, sans-serif">`;
  if (outline.length < 2) return `${open}</svg>`;
  const xs = outline.map((p) => p[0]);
  const ys = outline.map((p) => p[1]);
  const xmin = Math.min(...xs);
  const xmax = Math.max(...xs);
  const ymin = Math.min(...ys);
  const ymax = Math.max(...ys);
  const extent = Math.max(xmax - xmin, ymax - ymin);
  if (!(extent > 0) || !Number.isFinite(extent)) return `${open}</svg>`;
  const scale = Math.min((W - 2 * kMargin) / (xmax - xmin || extent), (H - 2 * kMargin) / (ymax - ymin || extent));
  const x0 = (W - (xmax - xmin) * scale) / 2;
  const y0 = (H - (ymax - ymin) * scale) / 2;
  const map = (p: Pt): Pt => [(p[0] - xmin) * scale + x0, (ymax - p[1]) * scale + y0];

  const parts: string[] = [open];
  const points = outline.map((p) => map(p).map(fmt).join(",")).join(" ");
  parts.push(`<polygon points="${points}" fill="#d7dbe0" stroke="#000" stroke-width="1.2" fill-rule="evenodd"/>`);

  const r = Math.max(2.5, kBarRadius * scale);
  section.bars.forEach((b, i) => {
    const [x, y] = map(b);
    parts.push(`<circle cx="${fmt(x)}" cy="${fmt(y)}" r="${fmt(r)}" fill="#000"/>`);
    if (section.bars.length <= 60) {
      parts.push(`<text x="${fmt(x + r + 1)}" y="${fmt(y - r - 1)}" font-size="9" fill="#7a1010">${i + 1}</text>`);
    }
  });

  if (options.numberVertices) {
    // The outline repeats its first vertex at the end.
    const n = outline.length - 1;
    const cx = xs.slice(0, n).reduce((a, b) => a + b, 0) / n;
    const cy = ys.slice(0, n).reduce((a, b) => a + b, 0) / n;
    const [mx, my] = map([cx, cy]);
    for (let i = 0; i < n && n <= 80; i++) {
      const [x, y] = map(outline[i]);
      const d = Math.hypot(x - mx, y - my) || 1;
      const tx = x + ((x - mx) / d) * 11;
      const ty = y + ((y - my) / d) * 11 + 4;
      parts.push(`<text x="${fmt(tx)}" y="${fmt(ty)}" font-size="11" text-anchor="middle" fill="#0b3a8a">${i + 1}</text>`);
    }
    // The arrow along the first side, from vertex 1 towards vertex 2.
    const [ax, ay] = map(outline[0]);
    const [bx, by] = map(outline[1]);
    const len = Math.hypot(bx - ax, by - ay);
    if (len > 12) {
      const ux = (bx - ax) / len;
      const uy = (by - ay) / len;
      // Inside the section for a counter-clockwise outline: the left of the direction of travel.
      const nx = uy;
      const ny = -ux;
      const off = 9;
      const sx = ax + ux * len * 0.3 + nx * off;
      const sy = ay + uy * len * 0.3 + ny * off;
      const ex = ax + ux * len * 0.7 + nx * off;
      const ey = ay + uy * len * 0.7 + ny * off;
      const h1x = ex - ux * 8 + nx * 4;
      const h1y = ey - uy * 8 + ny * 4;
      const h2x = ex - ux * 8 - nx * 4;
      const h2y = ey - uy * 8 - ny * 4;
      parts.push(
        `<g stroke="#0b3a8a" stroke-width="1.6" fill="#0b3a8a"><line x1="${fmt(sx)}" y1="${fmt(sy)}" x2="${fmt(ex)}" y2="${fmt(ey)}"/>` +
          `<polygon points="${fmt(ex)},${fmt(ey)} ${fmt(h1x)},${fmt(h1y)} ${fmt(h2x)},${fmt(h2y)}"/></g>`,
      );
    }
  }
  parts.push("</svg>");
  return parts.join("");
}
