// The picture of the positive directions of the loads, one plane beside the other, as the
// desktop's loads window shows it.
const kForce = "#be0000";
const kMoment = "#0000aa";
const kDistributed = "#007800";

function arrow(x1: number, y1: number, x2: number, y2: number, colour: string, width = 1.6): string {
  const len = Math.hypot(x2 - x1, y2 - y1);
  const ux = (x2 - x1) / len;
  const uy = (y2 - y1) / len;
  const hx = x2 - ux * 8;
  const hy = y2 - uy * 8;
  return (
    `<line x1="${x1}" y1="${y1}" x2="${hx}" y2="${hy}" stroke="${colour}" stroke-width="${width}"/>` +
    `<polygon points="${x2},${y2} ${hx - uy * 3},${hy + ux * 3} ${hx + uy * 3},${hy - ux * 3}" fill="${colour}"/>`
  );
}

// A moment arrow around (cx, cy): an arc of 280 degrees with its head at the end.
function moment(cx: number, cy: number, r: number, clockwise: boolean): string {
  const start = clockwise ? 320 : 40;
  const span = clockwise ? -280 : 280;
  const at = (deg: number): [number, number] => {
    const a = (deg * Math.PI) / 180;
    return [cx + r * Math.cos(a), cy - r * Math.sin(a)];
  };
  const [sx, sy] = at(start);
  const [ex, ey] = at(start + span);
  const sweep = clockwise ? 1 : 0;
  const tangentSign = clockwise ? -1 : 1;
  const a = ((start + span) * Math.PI) / 180;
  const tx = -Math.sin(a) * tangentSign;
  const ty = -Math.cos(a) * tangentSign;
  return (
    `<path d="M ${sx} ${sy} A ${r} ${r} 0 1 ${sweep} ${ex - tx * 6} ${ey - ty * 6}" fill="none" stroke="${kMoment}" stroke-width="1.6"/>` +
    arrow(ex - tx * 9, ey - ty * 9, ex, ey, kMoment, 1)
  );
}

function text(x: number, y: number, s: string, colour: string, anchor = "start"): string {
  return `<text x="${x}" y="${y + 4}" fill="${colour}" text-anchor="${anchor}">${s}</text>`;
}

function plane(left: number, axis: "x" | "y"): string {
  const cx = left + 150 * 0.48;
  const top = 38;
  const bottom = 230 - 34;
  const p: string[] = [];
  p.push(`<rect x="${cx - 6}" y="${top}" width="12" height="${bottom - top}" fill="#d7d7d7" stroke="#000" stroke-width="1.2"/>`);
  for (let i = 0; i < 6; i++) {
    const x = cx - 18 + i * 7;
    p.push(`<line x1="${x}" y1="${bottom + 4}" x2="${x - 5}" y2="${bottom + 10}" stroke="#000"/>`);
  }
  p.push(`<line x1="${cx - 20}" y1="${bottom + 3}" x2="${cx + 20}" y2="${bottom + 3}" stroke="#000"/>`);
  const ox = left + 14;
  const oy = bottom + 22;
  p.push(arrow(ox, oy, ox + 26, oy, "#000", 1), arrow(ox, oy, ox, oy - 26, "#000", 1));
  p.push(text(ox + 29, oy, axis, "#000"), text(ox, oy - 33, "z", "#000", "middle"));
  p.push(arrow(cx, top - 34, cx, top - 1, kForce), text(cx - 6, top - 30, "Fd,t", kForce, "end"));
  p.push(arrow(cx + 8, top + 8, cx + 36, top + 8, kForce), text(cx + 39, top + 8, `H${axis}d,t`, kForce));
  p.push(moment(cx, top + 26, 15, false), text(cx + 20, top + 36, `M${axis}d,t`, kMoment));
  p.push(moment(cx, bottom - 22, 15, true), text(cx + 20, bottom - 34, `M${axis}d,b`, kMoment));
  const loadLeft = cx - 44;
  p.push(`<line x1="${loadLeft}" y1="${top + 50}" x2="${loadLeft}" y2="${bottom - 46}" stroke="${kDistributed}"/>`);
  for (let i = 0; i < 5; i++) {
    const y = top + 50 + ((bottom - 46 - top - 50) * i) / 4;
    p.push(arrow(loadLeft, y, cx - 8, y, kDistributed, 1.1));
  }
  p.push(text(loadLeft - 4, (top + bottom) / 2 - 2, `p${axis}d`, kDistributed, "end"));
  p.push(text(cx + 14, bottom + 22, `plano ${axis}z`, "#000"));
  return p.join("");
}

export function loadsPictureSvg(): string {
  return (
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 300 230" font-size="11" font-family="DejaVu Sans, Arial, sans-serif">` +
    plane(0, "x") +
    plane(150, "y") +
    `</svg>`
  );
}
